#include "stockcheck.h"

#include "data/databaseerror.h"
#include "serverrows.h"
#include "stockjournal.h"

#include <algorithm>
#include <cmath>

namespace coop {

namespace {

bool agree(double stock, double journal) { return std::abs(stock - journal) <= 1e-9 * std::max(1.0, std::abs(stock)); }

} // namespace

StockCheck compareStockWithJournal(Database &database)
{
    if (!hasStockJournal(database))
        throw Error(QStringLiteral("У базі даних немає журналу руху товару (ruhtovariv); його додає db/upgrade-journal.sql"));
    StockCheck check;
    check.stockRows = serverrows::firstInteger(
        database, QStringLiteral("SELECT (SELECT COUNT(*) FROM baza) + (SELECT COUNT(*) FROM nayavnistvmagazuni)"));
    // Each stock row beside the sum of its journal rows; a stock row missing counts as 0 and is
    // reported whatever the journal says, since the program never deletes one.
    MysqlResult result = database.select(QStringLiteral(
        "SELECT g.IdTovary, g.IdMagazuny, g.StockRows, g.Stock, g.Journal, tovary.NazvaTovary, magazunu.NazvaMagazuny "
        "FROM (SELECT t.IdTovary, t.IdMagazuny, SUM(t.StockRows) AS StockRows, SUM(t.Stock) AS Stock, SUM(t.Journal) AS Journal "
        "      FROM (SELECT IdTovary, NULL AS IdMagazuny, 1 AS StockRows, COALESCE(KilkistNaBazi, 0) AS Stock, 0 AS Journal FROM "
        "baza "
        "            UNION ALL SELECT IdTovary, IdMagazuny, 1, COALESCE(Kilkist, 0), 0 FROM nayavnistvmagazuni "
        "            UNION ALL SELECT IdTovary, IdMagazuny, 0, 0, Kilkist FROM ruhtovariv) AS t "
        "      GROUP BY t.IdTovary, t.IdMagazuny) AS g "
        "LEFT JOIN tovary ON tovary.Id = g.IdTovary LEFT JOIN magazunu ON magazunu.Id = g.IdMagazuny "
        "ORDER BY g.IdMagazuny, g.IdTovary"));
    while (MYSQL_ROW row = mysql_fetch_row(result.get())) {
        const bool hasStock = serverrows::number(row, 2) > 0;
        const double stock = serverrows::number(row, 3);
        const double journal = serverrows::number(row, 4);
        if (hasStock && agree(stock, journal))
            continue;
        StockMismatch mismatch;
        mismatch.goods = serverrows::integer(row, 0);
        if (row[1])
            mismatch.shop = serverrows::integer(row, 1);
        if (hasStock)
            mismatch.stock = stock;
        mismatch.journal = journal;
        mismatch.goodsName = serverrows::text(row, 5);
        mismatch.shopName = serverrows::text(row, 6);
        check.mismatches.push_back(mismatch);
    }
    return check;
}

} // namespace coop
