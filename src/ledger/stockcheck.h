#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace coop {

class Database;

// Every base and shop quantity compared with the sum of its journal rows (a stock row missing counts
// as 0). What it finds is printed by the administrator's --check-stock (admin/stockcheckreport.h).
struct StockMismatch
{
    qlonglong goods = 0;
    QString goodsName;
    std::optional<qlonglong> shop;
    QString shopName;
    std::optional<double> stock; // none when the stock row is missing
    double journal = 0;
};
struct StockCheck
{
    qlonglong stockRows = 0;
    std::vector<StockMismatch> mismatches;
};
// Raises coop::Error when the database has no journal.
StockCheck compareStockWithJournal(Database &database);

} // namespace coop
