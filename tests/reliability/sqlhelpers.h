#pragma once

// Small helpers for the reliability suites: statements on an administrator's connection of their own,
// outside the program's Database, for setting up and checking rows.

#include "data/databaseerror.h"
#include "data/mariadbhandles.h"

#include <QStringList>

namespace reliability {

// Runs one or more statements (the connection must allow several) and discards their results.
inline void sqlExec(MYSQL *handle, const QString &statements)
{
    coop::runScript(handle, statements.toUtf8(), QStringLiteral("test statements"));
}

// The rows of a SELECT, each as its column texts joined by "|" ("NULL" for NULL).
inline QStringList sqlRows(MYSQL *handle, const QString &select)
{
    const QByteArray sql = select.toUtf8();
    if (mysql_real_query(handle, sql.constData(), sql.size()) != 0)
        throw coop::DatabaseError(QString::fromUtf8(mysql_error(handle)), mysql_errno(handle), select);
    coop::MysqlResult result(mysql_store_result(handle));
    QStringList out;
    const unsigned columns = result ? mysql_num_fields(result.get()) : 0;
    while (MYSQL_ROW row = result ? mysql_fetch_row(result.get()) : nullptr) {
        QStringList cells;
        for (unsigned i = 0; i < columns; ++i)
            cells.append(row[i] ? QString::fromUtf8(row[i]) : QStringLiteral("NULL"));
        out.append(cells.join(u'|'));
    }
    return out;
}

inline QString sqlValue(MYSQL *handle, const QString &select)
{
    const QStringList all = sqlRows(handle, select);
    return all.isEmpty() ? QString() : all.first().section(u'|', 0, 0);
}

// The stock and the documents a command may touch, without the auto-increment keys a re-run
// renumbers, each table in an order of its own unique columns.
inline QStringList stockState(MYSQL *handle)
{
    QStringList state;
    for (const QString &row : sqlRows(handle, QStringLiteral("SELECT IdTovary, KilkistNaBazi FROM baza ORDER BY IdTovary")))
        state << QStringLiteral("baza ") + row;
    for (const QString &row : sqlRows(handle, QStringLiteral("SELECT IdMagazuny, IdTovary, Kilkist, CinaOblikova, CinaRozdribna "
                                                             "FROM nayavnistvmagazuni ORDER BY IdMagazuny, IdTovary")))
        state << QStringLiteral("shop ") + row;
    for (const QString &row : sqlRows(handle, QStringLiteral("SELECT IdNadhodgennya, IdTovary, Kilkist, Cina FROM chonadishlo "
                                                             "ORDER BY IdNadhodgennya, IdTovary, Kilkist, Cina")))
        state << QStringLiteral("line ") + row;
    for (const QString &row : sqlRows(handle, QStringLiteral("SELECT Id, NazvaViddily, MisceRoztash FROM viddilu ORDER BY Id")))
        state << QStringLiteral("department ") + row;
    return state;
}

} // namespace reliability
