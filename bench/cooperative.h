#pragma once

#include <mysql.h>

#include <QString>

#include <functional>

namespace coop::bench {

// How big the generated cooperative is. Scale 1 is a large cooperative after years of work:
// 100,000 goods, 200 shops, 5,000 employees, 100,000 receipts of 1,000,000 lines, 50,000
// distributions of 500,000 lines, 200,000 shop audit lines and 1,000,000 revenue entries.
struct CooperativeSize
{
    explicit CooperativeSize(double scale = 1.0);

    double scale;
    long goods, shops, employees, suppliers, departments, positions;
    long receipts, receiptLines, distributions, distributionLines;
    long shopAuditLines, baseAudits, baseAuditLines;
    long revenue, revenueOfFirstShop; // the first shop has a tenth of all revenue entries
    long shopsSupplied;               // most shops: the distributions go to these
};

// Empties the sixteen tables of the database the connection uses and fills them with a
// consistent cooperative: every reference resolves; the base holds one row per goods, what the
// receipts brought less what the distributions took, never negative; each shop holds one row per
// goods it was sent, what the distributions brought it. The connection must allow several
// statements per call. `progress` is told what is being filled.
void generateCooperative(MYSQL *connection, const CooperativeSize &size,
                         const std::function<void(const QString &)> &progress = {});

} // namespace coop::bench
