// The shop audit act: the counted quantities of one shop, a title and a table, nothing totalled.
#include "reports/documentparts.h"
#include "reports/quickreports.h"

using namespace Qt::StringLiterals;

namespace coop {

namespace {

using namespace DocumentFont;

const std::vector<TableColumn> Columns = {{23.3, 82.8}, {105.8, 57.4}};

ReportLayout ShopAuditAct(const Query &shops, Query &lines)
{
    return {
        .name = u"Акт ревізії магазину"_s,
        .title = {45.2, Join({
            EnterpriseLine({6.3, 4.0}, {21.2, 7.9}),
            {Label(42.3, 19.1, u"Акт ревізії № ________________"_s, ActHeading),
             Label(125.9, 21.2, u"станом на"_s, NavyBold),
             SystemDate(146.1, 21.2, NavyBold),
             Label(25.4, 29.6, u"Місце ревізії:"_s),
             DataText(52.9, 29.6, &shops, u"NazvaMagazuny"_s)},
            TableCells(Columns, 36.5, 8.7, Silver),
            {OnHeaderCell(Label(55.0, 38.1, u"Назва товару"_s, Bold)),
             OnHeaderCell(Label(123.0, 38.1, u"Кількість наявна"_s, Bold))},
        })},
        .detailQuery = &lines,
        .detail = {8.5, Join({
            TableCells(Columns, -0.5, 8.7),
            {RowText(25.4, 2.1, u"NazvaTovary"_s),
             Centred(RowText(137.5, 1.9, u"Kilkist"_s))},
        })},
        .summary = {},
    };
}

} // namespace

TQuickReport20::TQuickReport20(const Query &shops, Query &lines, QObject *parent)
    : DocumentLayout(u"QuickReport20"_s, ShopAuditAct(shops, lines), parent)
{
}

} // namespace coop
