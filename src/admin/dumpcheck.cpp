#include "dumpcheck.h"

#include "data/databaseerror.h"

#include <QByteArrayView>

#include <array>
#include <cstring>

namespace coop {

namespace {

using Kind = DumpCheck::Token::Kind;

// mariadb-dump's first line: the client turns sandbox mode on (no file or shell access) when it
// reads it; the server skips it as a comment of a version it does not have.
const QByteArray SandboxMarker("/*M!999999\\- enable the sandbox mode */");

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isWordChar(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || isDigit(c) || c == '_' || c == '$' || u >= 0x80;
}

bool oneOf(QByteArrayView word, std::initializer_list<const char *> words)
{
    for (const char *candidate : words)
        if (word.compare(QByteArrayView(candidate), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// A run of word characters is a number when it is one: decimal, 0x hex or 0b bits.
bool isNumber(QByteArrayView run)
{
    if (run.size() > 2 && run[0] == '0' && (run[1] == 'x' || run[1] == 'b')) {
        for (qsizetype i = 2; i < run.size(); ++i) {
            const char c = run[i];
            const bool valid = run[1] == 'b' ? (c == '0' || c == '1')
                                             : (isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'));
            if (!valid)
                return false;
        }
        return true;
    }
    qsizetype i = 0;
    while (i < run.size() && isDigit(run[i]))
        ++i;
    if (i < run.size() && run[i] == '.')
        for (++i; i < run.size() && isDigit(run[i]);)
            ++i;
    if (i < run.size() && (run[i] == 'e' || run[i] == 'E')) {
        ++i;
        if (i < run.size() && (run[i] == '+' || run[i] == '-'))
            ++i;
        const qsizetype digits = i;
        while (i < run.size() && isDigit(run[i]))
            ++i;
        if (i == digits)
            return false;
    }
    return i == run.size() && i > 0;
}

// What a refusal says of a statement by its first words.
QString reasonFor(QByteArrayView first, QByteArrayView second)
{
    if (oneOf(first, {"USE"}) || oneOf(second, {"DATABASE", "SCHEMA"}))
        return QStringLiteral("він стосується іншої бази");
    if (oneOf(first, {"GRANT", "REVOKE", "RENAME"}) || oneOf(second, {"USER", "ROLE", "PASSWORD"}))
        return QStringLiteral("облікові записи й права копія бази не змінює");
    if (oneOf(second, {"TRIGGER", "PROCEDURE", "FUNCTION", "EVENT", "VIEW", "DEFINER", "ALGORITHM", "SQL", "OR", "AGGREGATE"}))
        return QStringLiteral("тригерів, процедур, подій і подань копія бази не містить");
    if (oneOf(first, {"LOAD", "SELECT", "HANDLER", "INSTALL", "UNINSTALL"}))
        return QStringLiteral("він читає чи пише файли сервера або поза таблицями бази");
    return QStringLiteral("такого оператора mariadb-dump у копії бази не пише");
}

bool safeCharset(QByteArrayView value)
{
    for (const char *charset : {"utf8mb4", "utf8mb3", "utf8", "latin1", "binary", "ascii"}) {
        const QByteArrayView name(charset);
        if (value.compare(name, Qt::CaseInsensitive) == 0)
            return true;
        if (value.size() > name.size() && value.first(name.size()).compare(name, Qt::CaseInsensitive) == 0
            && value[name.size()] == '_')
            return true;
    }
    return value.compare(QByteArrayView("DEFAULT"), Qt::CaseInsensitive) == 0;
}

// The session variables a copy saves and sets around its tables; nothing of the server's.
bool sessionVariable(QByteArrayView name)
{
    return oneOf(name, {"character_set_client", "character_set_results", "character_set_connection", "collation_connection",
                        "time_zone", "unique_checks", "foreign_key_checks", "sql_mode", "sql_notes", "note_verbosity",
                        "autocommit", "sql_quote_show_create", "check_constraint_checks"});
}

bool charsetVariable(QByteArrayView name)
{
    return oneOf(name, {"character_set_client", "character_set_results", "character_set_connection", "collation_connection"});
}

} // namespace

void DumpCheck::feed(const char *data, qsizetype size)
{
    m_pending.append(data, size);
    scan(false);
}

void DumpCheck::finish()
{
    scan(true);
    if (m_mode == Mode::String || m_mode == Mode::Identifier)
        refuse(QStringLiteral("лапки не закрито до кінця копії"), m_tokenLine);
    if (m_mode == Mode::BlockComment || m_versioned)
        refuse(QStringLiteral("коментар не закрито до кінця копії"), m_line);
    if (!m_tokens.isEmpty())
        endStatement(m_pending.size());
    m_checkedEnd = m_pending.size();
}

QByteArray DumpCheck::takeChecked()
{
    handOut();
    QByteArray checked;
    checked.swap(m_checked);
    return checked;
}

void DumpCheck::refuse(const QString &reason, qsizetype line) const
{
    throw Error(QStringLiteral("рядок %1: %2").arg(line).arg(reason));
}

void DumpCheck::refuseStatement(const QString &reason) const
{
    throw Error(QStringLiteral("рядок %1, «%2»: %3").arg(m_tokens.first().line).arg(firstWords(), reason));
}

QByteArray DumpCheck::text(const Token &token) const
{
    return m_pending.sliced(token.begin, token.end - token.begin);
}

bool DumpCheck::is(qsizetype index, const char *word) const
{
    if (index >= m_tokens.size() || m_tokens[index].kind != Kind::Word)
        return false;
    const Token &token = m_tokens[index];
    return QByteArrayView(m_pending).sliced(token.begin, token.end - token.begin).compare(QByteArrayView(word), Qt::CaseInsensitive) == 0;
}

bool DumpCheck::isPunct(qsizetype index, char c) const
{
    return index < m_tokens.size() && m_tokens[index].kind == Kind::Punct && m_pending[m_tokens[index].begin] == c;
}

// The statement's first three words, for the refusal; a string is shown as '…', since it may hold
// a password.
QString DumpCheck::firstWords() const
{
    QStringList words;
    for (qsizetype i = 0; i < m_tokens.size() && words.size() < 3; ++i) {
        const Token &token = m_tokens[i];
        words.append(token.kind == Kind::String ? QStringLiteral("'…'") : QString::fromUtf8(text(token).left(40)));
    }
    return words.join(u' ');
}

void DumpCheck::addToken(Token::Kind kind, qsizetype begin, qsizetype end, qsizetype line)
{
    m_tokens.append(Token{kind, begin, end, line});
}

// The statement whose ";" (or the copy's end) is at `end` is checked: the text up to there may go.
void DumpCheck::endStatement(qsizetype end)
{
    checkStatement();
    m_tokens.clear();
    m_checkedEnd = end;
}

// Moves the checked text out of the pending one.
void DumpCheck::handOut()
{
    m_checked.append(m_pending.constData(), m_checkedEnd);
    m_pending.remove(0, m_checkedEnd);
    m_position -= m_checkedEnd;
    m_tokenBegin -= m_checkedEnd;
    for (Token &token : m_tokens) {
        token.begin -= m_checkedEnd;
        token.end -= m_checkedEnd;
    }
    m_checkedEnd = 0;
}

void DumpCheck::advance(qsizetype count)
{
    for (const qsizetype end = m_position + count; m_position < end; ++m_position)
        if (m_pending[m_position] == '\n')
            ++m_line;
}

// Reads the pending text from where the last call stopped. Where what a character means depends
// on the next ones and they have not come yet, it stops and waits for more.
void DumpCheck::scan(bool atEnd)
{
    while (m_position < m_pending.size()) {
        const qsizetype i = m_position;
        const char c = m_pending[i];
        if (c == '\0')
            refuse(QStringLiteral("нульовий байт: це не текст копії"), m_line);
        if (i - m_checkedEnd > MaxStatement)
            refuse(QStringLiteral("оператор довший за %1 МіБ").arg(MaxStatement / (1024 * 1024)), m_line);
        const bool more = i + 1 < m_pending.size();
        qsizetype step = 1;
        switch (m_mode) {
        case Mode::LineComment:
            if (c == '\n')
                m_mode = Mode::Code;
            break;
        case Mode::BlockComment:
            if (c == '*') {
                if (!more && !atEnd)
                    step = 0;
                else if (more && m_pending[i + 1] == '/') {
                    m_mode = Mode::Code;
                    step = 2;
                }
            }
            break;
        case Mode::String:
        case Mode::Identifier:
            if (c == '\\' && m_mode == Mode::String) {
                if (m_escapes == Escapes::Unknown)
                    refuse(QStringLiteral("зворотна скісна риска в рядку, коли sql_mode узято зі змінної"), m_line);
                step = !more && !atEnd ? 0 : more ? 2 : 1; // with the escaped character, whatever it is
            } else if (c == m_quote) {
                if (!more && !atEnd) {
                    step = 0;
                } else if (more && m_pending[i + 1] == m_quote) {
                    step = 2; // a doubled quote stands for itself
                } else {
                    addToken(m_mode == Mode::String ? Kind::String : Kind::Identifier, m_tokenBegin, i + 1, m_tokenLine);
                    m_mode = Mode::Code;
                }
            }
            break;
        case Mode::Code:
            step = scanCode(atEnd);
            break;
        }
        if (step == 0)
            break; // the next characters decide
        advance(step);
    }
}

// One step through code: a token, white space, the start of a comment or string, or a statement's
// end. Answers how far it went, or 0 when it must see more of the copy first.
qsizetype DumpCheck::scanCode(bool atEnd)
{
    const qsizetype i = m_position;
    const qsizetype size = m_pending.size();
    const char c = m_pending[i];
    const auto at = [&](qsizetype k) { return i + k < size ? m_pending[i + k] : '\0'; };
    const bool known = i + 2 < size || atEnd; // the next two characters are there, or never come

    if (isSpace(c))
        return 1;
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
        refuse(QStringLiteral("керівний символ поза рядком"), m_line);
    if (c == '\\' && i + 1 >= size && !atEnd)
        return 0; // the command's letter, for the refusal
    if (c == '\\')
        refuse(QStringLiteral("«\\%1»: команда клієнта mariadb, не оператор копії бази").arg(QLatin1Char(at(1) ? at(1) : ' ')), m_line);
    if (c == '#') {
        m_mode = Mode::LineComment;
        return 1;
    }
    if (c == '-') {
        if (!known)
            return 0;
        // "--" opens a comment only before white space (or at the copy's end), for the client and
        // the server alike.
        if (at(1) == '-' && (i + 2 == size || isSpace(at(2)))) {
            m_mode = Mode::LineComment;
            return 2;
        }
    }
    if (c == '/') {
        if (size - i < SandboxMarker.size() && !atEnd && SandboxMarker.startsWith(QByteArrayView(m_pending).sliced(i)))
            return 0;
        if (QByteArrayView(m_pending).sliced(i).startsWith(SandboxMarker))
            return SandboxMarker.size();
        if (i + 3 >= size && !atEnd)
            return 0;
        if (at(1) == '*') {
            if (m_versioned)
                refuse(QStringLiteral("коментар усередині коментаря з версією"), m_line);
            const qsizetype bang = at(2) == '!' ? 2 : (at(2) == 'M' && at(3) == '!') ? 3 : 0;
            if (bang == 0) {
                m_mode = Mode::BlockComment;
                return 2;
            }
            // Text the server runs: read as code, after the version's digits.
            qsizetype k = bang + 1;
            while (k - bang <= 6 && isDigit(at(k)))
                ++k;
            if (i + k >= size && !atEnd)
                return 0;
            m_versioned = true;
            return k;
        }
    }
    if (c == '*' && m_versioned) {
        if (i + 1 >= size && !atEnd)
            return 0;
        if (at(1) == '/') {
            m_versioned = false;
            return 2;
        }
    }
    if (c == '\'' || c == '"' || c == '`') {
        m_mode = c == '`' ? Mode::Identifier : Mode::String;
        m_quote = c;
        m_tokenBegin = i;
        m_tokenLine = m_line;
        return 1;
    }
    if (c == ';') {
        if (m_versioned)
            refuse(QStringLiteral("«;» усередині коментаря з версією"), m_line);
        endStatement(i + 1);
        return 1;
    }
    if (isWordChar(c)) {
        qsizetype k = i;
        while (k < size && isWordChar(m_pending[k]))
            ++k;
        // A number's exponent may carry a sign: 1.5e-7.
        if (isDigit(c)) {
            while (k < size && (m_pending[k] == '.' || isWordChar(m_pending[k])
                                || ((m_pending[k] == '-' || m_pending[k] == '+') && (m_pending[k - 1] == 'e' || m_pending[k - 1] == 'E'))))
                ++k;
        }
        if (k == size && !atEnd)
            return 0;
        const QByteArrayView run = QByteArrayView(m_pending).sliced(i, k - i);
        addToken(isDigit(c) && isNumber(run) ? Kind::Number : Kind::Word, i, k, m_line);
        return k - i;
    }
    addToken(Kind::Punct, i, i + 1, m_line);
    return 1;
}

void DumpCheck::checkStatement()
{
    if (m_tokens.isEmpty())
        return;
    if (m_tokens.first().kind != Kind::Word)
        refuseStatement(QStringLiteral("такого оператора mariadb-dump у копії бази не пише"));
    const qsizetype count = m_tokens.size();
    if (is(0, "SET"))
        return checkSet();
    if (is(0, "INSERT"))
        return checkInsert();
    if (is(0, "LOCK"))
        return checkLockTables();
    if (is(0, "CREATE") && is(1, "TABLE"))
        return checkCreateTable();
    if (is(0, "DROP") && is(1, "TABLE"))
        return checkNames(is(2, "IF") && is(3, "EXISTS") ? 4 : 2);
    if (is(0, "ALTER") && is(1, "TABLE") && count == 5 && (is(3, "DISABLE") || is(3, "ENABLE")) && is(4, "KEYS")) {
        checkName(2);
        return;
    }
    if ((is(0, "UNLOCK") && is(1, "TABLES") && count == 2) || (is(0, "START") && is(1, "TRANSACTION") && count == 2)
        || (is(0, "BEGIN") && count == 1) || (is(0, "COMMIT") && (count == 1 || (count == 2 && is(1, "WORK")))))
        return;
    const QByteArray second = count > 1 && m_tokens[1].kind == Kind::Word ? text(m_tokens[1]) : QByteArray();
    refuseStatement(reasonFor(text(m_tokens[0]), second));
}

// A table's name, alone: `db`.`table` names another database. Answers the token after it.
qsizetype DumpCheck::checkName(qsizetype index) const
{
    if (index >= m_tokens.size() || (m_tokens[index].kind != Kind::Word && m_tokens[index].kind != Kind::Identifier))
        refuseStatement(QStringLiteral("тут має стояти ім'я таблиці"));
    if (isPunct(index + 1, '.'))
        refuseStatement(QStringLiteral("він називає таблицю іншої бази"));
    return index + 1;
}

// Names separated by commas, to the statement's end.
void DumpCheck::checkNames(qsizetype index) const
{
    for (index = checkName(index); index < m_tokens.size(); index = checkName(index + 1))
        if (!isPunct(index, ','))
            refuseStatement(QStringLiteral("такого оператора mariadb-dump у копії бази не пише"));
}

// SET of the session variables that a copy saves, sets and restores around its tables:
//   SET @OLD_X=@@X, X=value    SET NAMES utf8mb4    SET X=@OLD_X    SET @@AUTOCOMMIT=0
void DumpCheck::checkSet()
{
    const auto refuseSet = [this] { refuseStatement(QStringLiteral("він змінює не ті змінні сеансу, що копія бази")); };
    const qsizetype count = m_tokens.size();
    Escapes escapes = m_escapes;
    qsizetype i = 1;
    // A session variable's name, plain or as @@name, @@session.name, SESSION name.
    const auto variable = [&](qsizetype &k) -> QByteArray {
        if (isPunct(k, '@') && isPunct(k + 1, '@')) {
            k += 2;
            if ((is(k, "SESSION") || is(k, "LOCAL")) && isPunct(k + 1, '.'))
                k += 2;
        } else if (is(k, "SESSION") || is(k, "LOCAL")) {
            ++k;
        }
        if (k >= count || m_tokens[k].kind != Kind::Word || !sessionVariable(text(m_tokens[k])))
            refuseSet();
        return text(m_tokens[k++]);
    };
    for (;;) {
        if (is(i, "NAMES")) {
            // SET NAMES utf8mb4 [COLLATE utf8mb4_unicode_ci]
            const auto charset = [&](qsizetype k) {
                if (k >= count || (m_tokens[k].kind != Kind::Word && m_tokens[k].kind != Kind::String)
                    || !safeCharset(QByteArray(text(m_tokens[k])).replace('\'', "")))
                    refuseSet();
            };
            charset(++i);
            if (is(++i, "COLLATE"))
                charset(++i), ++i;
        } else if (isPunct(i, '@') && !isPunct(i + 1, '@')) {
            // @saved = @@variable: a user variable keeps a session variable's value to put it back later.
            if (i + 1 >= count || m_tokens[i + 1].kind == Kind::Punct || isPunct(i + 2, '.') || !isPunct(i + 2, '='))
                refuseSet();
            i += 3;
            if (!isPunct(i, '@') || !isPunct(i + 1, '@'))
                refuseSet();
            variable(i);
        } else {
            const QByteArray name = variable(i);
            if (!isPunct(i, '='))
                refuseSet();
            ++i;
            if (i >= count)
                refuseSet();
            const Token &value = m_tokens[i];
            const bool fromVariable = isPunct(i, '@') && i + 1 < count && m_tokens[i + 1].kind == Kind::Word && !isPunct(i + 2, '.');
            if (fromVariable) {
                i += 2;
            } else if (value.kind == Kind::String || value.kind == Kind::Number || value.kind == Kind::Word) {
                ++i;
            } else {
                refuseSet();
            }
            QByteArray literal = fromVariable ? QByteArray() : text(value);
            if (value.kind == Kind::String)
                literal = literal.mid(1, literal.size() - 2);
            if (charsetVariable(name) && !fromVariable && !safeCharset(literal))
                refuseSet();
            if (oneOf(name, {"sql_mode"})) {
                // What a backslash in a string means from here on follows the mode.
                if (value.kind == Kind::String && !literal.toUpper().contains("NO_BACKSLASH_ESCAPES"))
                    escapes = Escapes::Backslash;
                else if (value.kind == Kind::String)
                    refuseStatement(QStringLiteral("копія бази пише рядки зі зворотною скісною рискою"));
                else
                    escapes = Escapes::Unknown;
            }
        }
        if (i == count)
            break;
        if (!isPunct(i, ','))
            refuseSet();
        ++i;
    }
    m_escapes = escapes;
}

// CREATE TABLE `t` (columns and keys) options: of this database, on the engines of a copy, with
// nothing that reaches past the table (another directory, a connection, another table's rows) and
// no function but the column types and the clock.
void DumpCheck::checkCreateTable()
{
    qsizetype i = 2;
    if (is(i, "IF") && is(i + 1, "NOT") && is(i + 2, "EXISTS"))
        i += 3;
    i = checkName(i);
    if (!isPunct(i, '('))
        refuseStatement(QStringLiteral("таблиця копії бази має свої стовпці, не чужі"));
    for (; i < m_tokens.size(); ++i) {
        const Token &token = m_tokens[i];
        if (isPunct(i, '.') || isPunct(i, '@'))
            refuseStatement(QStringLiteral("він називає щось поза таблицею"));
        // A quoted name before "(" names a key, the table a key refers to, or a column with the
        // length of its key's prefix; anywhere else it would call a function of that name.
        const bool prefixLength = i + 3 < m_tokens.size() && m_tokens[i + 2].kind == Kind::Number && isPunct(i + 3, ')');
        if (token.kind == Kind::Identifier && isPunct(i + 1, '(') && !prefixLength
            && !(is(i - 1, "KEY") || is(i - 1, "INDEX") || is(i - 1, "REFERENCES") || is(i - 1, "UNIQUE")
                 || is(i - 1, "FULLTEXT") || is(i - 1, "SPATIAL")))
            refuseStatement(QStringLiteral("функція %1 не з копії бази").arg(QString::fromUtf8(text(token))));
        if (token.kind != Kind::Word)
            continue;
        const QByteArray word = text(token);
        if (oneOf(word, {"DIRECTORY", "CONNECTION", "SELECT", "LIKE", "UNION", "PARTITION", "TABLESPACE"}))
            refuseStatement(QStringLiteral("таблиця сягає поза базу: %1").arg(QString::fromUtf8(word)));
        if (isPunct(i + 1, '(')
            && !oneOf(word, {"TINYINT", "SMALLINT", "MEDIUMINT", "INT", "INTEGER", "BIGINT", "DECIMAL", "DEC", "NUMERIC", "FIXED",
                             "FLOAT", "DOUBLE", "REAL", "CHAR", "VARCHAR", "NCHAR", "NVARCHAR", "BINARY", "VARBINARY", "BIT",
                             "ENUM", "SET", "DATETIME", "TIMESTAMP", "TIME", "YEAR", "TEXT", "BLOB", "KEY", "INDEX", "CHECK",
                             "DEFAULT", "AS", "CURRENT_TIMESTAMP", "NOW", "CURDATE", "CURRENT_DATE", "CURTIME", "CURRENT_TIME",
                             "LOCALTIME", "LOCALTIMESTAMP", "UTC_TIMESTAMP", "UTC_DATE", "UTC_TIME", "JSON_VALID",
                             "OCTET_LENGTH", "CHAR_LENGTH", "LENGTH"}))
            refuseStatement(QStringLiteral("функція %1 не з копії бази").arg(QString::fromUtf8(word)));
        if (oneOf(word, {"ENGINE"})) {
            const qsizetype engine = isPunct(i + 1, '=') ? i + 2 : i + 1;
            if (!is(engine, "InnoDB") && !is(engine, "MyISAM") && !is(engine, "Aria") && !is(engine, "MEMORY") && !is(engine, "HEAP"))
                refuseStatement(QStringLiteral("таблиця на рушії, що сягає поза базу"));
        }
    }
}

// INSERT [IGNORE] INTO `t` [(columns)] VALUES (values),…: the values plain data, nothing computed.
void DumpCheck::checkInsert()
{
    const qsizetype count = m_tokens.size();
    qsizetype i = is(1, "IGNORE") ? 2 : 1;
    if (!is(i, "INTO"))
        refuseStatement(QStringLiteral("такого оператора mariadb-dump у копії бази не пише"));
    i = checkName(i + 1);
    if (isPunct(i, '(')) {
        for (i = checkName(i + 1); isPunct(i, ','); i = checkName(i + 1)) {
        }
        if (!isPunct(i, ')'))
            refuseStatement(QStringLiteral("такого оператора mariadb-dump у копії бази не пише"));
        ++i;
    }
    if (!is(i, "VALUES") && !is(i, "VALUE"))
        refuseStatement(QStringLiteral("копія бази вставляє рядки лише з VALUES"));
    const auto refuseValue = [this] { refuseStatement(QStringLiteral("у VALUES стоїть не значення, а вираз")); };
    for (++i;;) {
        if (!isPunct(i, '('))
            refuseValue();
        ++i;
        while (!isPunct(i, ')')) {
            if (i >= count)
                refuseValue();
            const Token &token = m_tokens[i];
            if (token.kind == Kind::String || token.kind == Kind::Number || is(i, "NULL")) {
                ++i;
            } else if ((isPunct(i, '-') || isPunct(i, '+')) && i + 1 < count && m_tokens[i + 1].kind == Kind::Number) {
                i += 2;
            } else if (token.kind == Kind::Word && i + 1 < count && m_tokens[i + 1].kind == Kind::String
                       && (m_pending[token.begin] == '_' || is(i, "X") || is(i, "B") || is(i, "N"))) {
                i += 2; // _binary 'bytes', X'hex', b'bits', N'text'
            } else {
                refuseValue();
            }
            if (isPunct(i, ','))
                ++i;
            else if (!isPunct(i, ')'))
                refuseValue();
        }
        ++i;
        if (i == count)
            return;
        if (!isPunct(i, ','))
            refuseValue();
        ++i;
    }
}

// LOCK TABLES `a` WRITE, `b` READ LOCAL
void DumpCheck::checkLockTables()
{
    if (!is(1, "TABLES"))
        refuseStatement(reasonFor(text(m_tokens[0]), {}));
    for (qsizetype i = 2;;) {
        i = checkName(i);
        if (is(i, "WRITE")) {
            ++i;
        } else if (is(i, "READ")) {
            i += is(i + 1, "LOCAL") ? 2 : 1;
        } else {
            refuseStatement(QStringLiteral("такого оператора mariadb-dump у копії бази не пише"));
        }
        if (i == m_tokens.size())
            return;
        if (!isPunct(i, ','))
            refuseStatement(QStringLiteral("такого оператора mariadb-dump у копії бази не пише"));
        ++i;
    }
}

} // namespace coop
