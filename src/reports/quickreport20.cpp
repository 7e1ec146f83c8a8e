// The shop audit act: the counted quantities of one shop, a title and a table, nothing totalled.
#include "reports/quickreport20.h"

#include "reports/documentparts.h"

using namespace Qt::StringLiterals;

namespace coop {

namespace {

ReportLayout ShopAuditAct(const Query &shops, Query &lines)
{
    return TabularLayout({
        .name = u"Акт ревізії магазину"_s,
        .head = {45.2, Join({
            ActHead({6.3, 4.0}, {21.2, 7.9}, {{42.3, 19.1}, u"Акт ревізії № ________________"_s,
                                              {125.9, 21.2}, u"станом на"_s, SystemDate(146.1, 21.2)}),
            HeadEntries({{{25.4, 29.6}, u"Місце ревізії:"_s, DataText(52.9, 29.6, &shops, u"NazvaMagazuny"_s)}}),
        })},
        .table = {.headerTop = 36.5, .headerHeight = 8.7, .rowTop = -0.5, .rowHeight = 8.7,
            .columns = {
                {23.3, 82.8, Label(55.0, 38.1, u"Назва товару"_s), RowText(25.4, 2.1, u"NazvaTovary"_s)},
                {105.8, 57.4, Label(123.0, 38.1, u"Кількість наявна"_s), Centred(RowText(137.5, 1.9, u"Kilkist"_s))},
            }},
        .lines = &lines,
        .lineHeight = 8.5,
        .summary = {},
    });
}

} // namespace

TQuickReport20::TQuickReport20(const Query &shops, Query &lines, QObject *parent)
    : DocumentLayout(u"QuickReport20"_s, ShopAuditAct(shops, lines), parent)
{
}

} // namespace coop
