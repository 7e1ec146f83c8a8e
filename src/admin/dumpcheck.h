#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace coop {

// Reads a copy of the database the way the mariadb client reads it, statement by statement, and
// lets through only what mariadb-dump writes for the tables of one database: comments, the
// session SETs it saves and restores, DROP TABLE IF EXISTS, CREATE TABLE, LOCK/UNLOCK TABLES,
// ALTER TABLE … DISABLE/ENABLE KEYS, INSERT INTO … VALUES of plain values, START
// TRANSACTION/COMMIT, each naming tables of the one database only. A client command (\!, system,
// source, delimiter), USE, a database, an account, a trigger, a routine, a view, a function that
// reaches the server's files, or a table elsewhere raises coop::Error with its line and first words.
//
// A copy comes from anywhere: it is checked as text the client would send, so the versioned
// comments (/*!40101 … */), which the server runs, are checked as statements too. Strings are
// read with backslash escapes, as the session that loads a copy starts (the restore sees to it);
// once a copy sets sql_mode from a variable, whose escapes this cannot know, a backslash in a
// string is refused.
//
// Fed in pieces of any size. takeChecked() hands out the text up to the end of the last statement
// checked, so a restore sends the client nothing that has not been read through.
class DumpCheck
{
public:
    // The longest statement a copy may hold; mariadb-dump writes its INSERTs a megabyte at a time.
    static constexpr qsizetype MaxStatement = 32 * 1024 * 1024;

    void feed(const char *data, qsizetype size);
    void feed(const QByteArray &data) { feed(data.constData(), data.size()); }
    // The copy has ended: a last statement without its ";" is checked as the client would run it.
    void finish();
    // The checked text not yet taken; after a refusal, what came before the refused statement.
    // Call it after every piece: the text is held until it is taken.
    QByteArray takeChecked();

    struct Token
    {
        enum class Kind { Word, Identifier, String, Number, Punct };
        Kind kind;
        qsizetype begin; // into the pending text
        qsizetype end;
        qsizetype line;
    };

private:
    enum class Mode { Code, LineComment, BlockComment, String, Identifier };
    enum class Escapes { Backslash, Unknown };

    void scan(bool atEnd);
    qsizetype scanCode(bool atEnd);
    void advance(qsizetype count);
    void addToken(Token::Kind kind, qsizetype begin, qsizetype end, qsizetype line);
    void endStatement(qsizetype end);
    void handOut();
    [[noreturn]] void refuse(const QString &reason, qsizetype line) const;
    [[noreturn]] void refuseStatement(const QString &reason) const;

    void checkStatement();
    void checkSet();
    qsizetype checkName(qsizetype index) const;
    void checkNames(qsizetype index) const;
    void checkCreateTable();
    void checkInsert();
    void checkLockTables();

    QByteArray text(const Token &token) const;
    bool is(qsizetype index, const char *word) const;
    bool isPunct(qsizetype index, char c) const;
    QString firstWords() const;

    QByteArray m_pending;      // text not yet handed out: the statement being read, from its start
    QByteArray m_checked;      // text checked, waiting for takeChecked()
    qsizetype m_position = 0;  // how far m_pending has been scanned
    qsizetype m_checkedEnd = 0; // m_pending up to here is checked
    qsizetype m_line = 1;      // the line at m_position
    qsizetype m_tokenBegin = 0; // where the string or identifier being read began
    qsizetype m_tokenLine = 0;
    Mode m_mode = Mode::Code;
    char m_quote = 0;          // the quote of the string or identifier being read
    bool m_versioned = false;  // inside /*!NNNNN … */, whose text the server runs
    Escapes m_escapes = Escapes::Backslash;
    QList<Token> m_tokens;     // of the statement being read
};

} // namespace coop
