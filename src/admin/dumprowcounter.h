#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace coop {

struct TableRows
{
    QString table;
    qint64 rows = 0;
    bool operator==(const TableRows &) const = default;
};

// Counts the rows of a mariadb-dump text as it streams past, table by table. An INSERT of the dump
// starts a line with "INSERT INTO `table` VALUES" and runs to its ";", its rows in brackets (one a
// line, or all on one line in older versions), its strings quoted with backslash escapes, a line
// break inside a string written as \n. Fed in pieces of any size.
class DumpRowCounter
{
public:
    void feed(const char *data, qsizetype size);
    void feed(const QByteArray &data) { feed(data.constData(), data.size()); }
    // Every table the dump created, in the dump's order, with the rows inserted into it.
    const QList<TableRows> &tables() const { return m_tables; }
    qint64 totalRows() const;

private:
    enum class State { LineStart, Head, Tuples, SkipLine };
    void endHead();
    qsizetype table(const QString &name);

    State m_state = State::LineStart;
    QByteArray m_head;
    int m_depth = 0;
    bool m_inQuote = false;
    bool m_escape = false;
    qsizetype m_current = -1; // index of the table whose INSERT is being read
    QList<TableRows> m_tables;
};

} // namespace coop
