#include "dumprowcounter.h"

namespace coop {

namespace {

// The longest line start that can name a table: "INSERT INTO `" plus a name of 64 characters
// (up to four bytes each) and "` VALUES ".
constexpr qsizetype MaxHead = 300;

} // namespace

qint64 DumpRowCounter::totalRows() const
{
    qint64 total = 0;
    for (const TableRows &table : m_tables)
        total += table.rows;
    return total;
}

qsizetype DumpRowCounter::table(const QString &name)
{
    for (qsizetype i = 0; i < m_tables.size(); ++i)
        if (m_tables[i].table == name)
            return i;
    m_tables.append(TableRows{name, 0});
    return m_tables.size() - 1;
}

// A line start is complete: it is either an INSERT whose tuples follow, a table's creation, or
// anything else, which is skipped to its end.
void DumpRowCounter::endHead()
{
    static const QByteArray Insert("INSERT INTO `");
    static const QByteArray Create("CREATE TABLE `");
    const bool insert = m_head.startsWith(Insert);
    const QByteArray &prefix = insert ? Insert : Create;
    const qsizetype close = m_head.indexOf('`', prefix.size());
    const QString name = QString::fromUtf8(m_head.mid(prefix.size(), close - prefix.size()));
    if (insert) {
        m_current = table(name);
        m_state = State::Tuples;
        m_depth = 0;
        m_inQuote = m_escape = false;
    } else {
        table(name); // a table without rows is listed too
        m_state = State::SkipLine;
    }
    m_head.clear();
}

void DumpRowCounter::feed(const char *data, qsizetype size)
{
    for (const char *p = data, *end = data + size; p != end; ++p) {
        const char c = *p;
        switch (m_state) {
        case State::LineStart:
            if (c == 'I' || c == 'C') {
                m_head = QByteArray(1, c);
                m_state = State::Head;
            } else if (c != '\n') {
                m_state = State::SkipLine;
            }
            break;
        case State::Head:
            if (c == '\n') {
                // mariadb-dump 10.11 puts each row on a line of its own after "VALUES".
                if (m_head.startsWith("INSERT INTO `") && m_head.endsWith("` VALUES"))
                    endHead();
                else
                    m_state = State::LineStart;
                break;
            }
            m_head.append(c);
            if (!QByteArrayView("INSERT INTO `").startsWith(m_head.left(13)) && !QByteArrayView("CREATE TABLE `").startsWith(m_head.left(14)))
                m_state = State::SkipLine;
            else if (m_head.endsWith("` VALUES ") || (m_head.startsWith("CREATE") && m_head.size() > 14 && c == '`'))
                endHead();
            else if (m_head.size() > MaxHead)
                m_state = State::SkipLine;
            break;
        case State::Tuples:
            if (m_inQuote) {
                if (m_escape)
                    m_escape = false;
                else if (c == '\\')
                    m_escape = true;
                else if (c == '\'')
                    m_inQuote = false;
            } else if (c == '\'') {
                m_inQuote = true;
            } else if (c == '(') {
                if (m_depth++ == 0)
                    ++m_tables[m_current].rows;
            } else if (c == ')') {
                --m_depth;
            } else if (c == ';' && m_depth == 0) {
                m_state = State::SkipLine; // the statement ends; its line too
            }
            break;
        case State::SkipLine:
            if (c == '\n')
                m_state = State::LineStart;
            break;
        }
    }
}

} // namespace coop
