// The warehouse stock card: every article of the base warehouse with its quantity.
#include "reports/quickreport19.h"

#include "reports/documentparts.h"

using namespace Qt::StringLiterals;

namespace coop {

namespace {

ReportLayout StockCard(Query &stock)
{
    return TabularLayout({
        .name = u"Картка складського обліку"_s,
        .head = {47.4, ActHead({6.3, 4.0}, {21.2, 7.9}, {{42.3, 21.2}, u"Картка № ________ складського обліку товарів"_s,
                                                         {76.2, 29.6}, u"станом на"_s, SystemDateTime(95.2, 29.6)})},
        // The only table whose headings are not bold; its lines are a millimetre shorter than its header.
        .table = {.headingFont = {}, .headerTop = 40.7, .headerHeight = 6.6, .rowTop = -0.3, .rowHeight = 5.6,
            .columns = {
                {19.1, 82.8, Label(47.9, 42.1, u"Назва товару"_s), RowText(21.2, 0.3, u"nazvatovary"_s)},
                {101.6, 65.9, Label(117.7, 42.3, u"Кількість на складі"_s), Centred(RowText(133.2, 0.0, u"kilkistNaBazi"_s))},
            }},
        .lines = &stock,
        .lineHeight = 5.3,
        .summary = {17.2, GoodsCount({2.1, 15.9, 29.6, {33.9, 8.5}}, u"Sum(KilkistNaBazi)"_s)},
    });
}

} // namespace

TQuickReport19::TQuickReport19(Query &stock, QObject *parent)
    : DocumentLayout(u"QuickReport19"_s, StockCard(stock), parent)
{
}

} // namespace coop
