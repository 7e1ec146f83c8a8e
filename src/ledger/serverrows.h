#pragma once

#include "data/database.h"
#include "data/format.h"

#include <QString>

// Reading the rows the ledger's own statements answer, as the server sent them (the commands read a
// count or a few quantities, not a grid's worth of fields).
namespace coop::serverrows {

inline QString text(MYSQL_ROW row, int column) { return row[column] ? QString::fromUtf8(row[column]) : QString(); }

inline double number(MYSQL_ROW row, int column) { return row[column] ? ReadServerNumber(row[column]) : 0.0; }

inline qlonglong integer(MYSQL_ROW row, int column) { return text(row, column).toLongLong(); }

// The first column of the first row as a whole number; 0 for a result without rows.
inline qlonglong firstInteger(Database &database, const QString &statement)
{
    MysqlResult result = database.select(statement);
    MYSQL_ROW row = mysql_fetch_row(result.get());
    return row ? integer(row, 0) : 0;
}

} // namespace coop::serverrows
