// The warehouse stock card: every article of the base warehouse with its quantity.
#include "reports/documentparts.h"
#include "reports/quickreports.h"

using namespace Qt::StringLiterals;

namespace coop {

namespace {

using namespace DocumentFont;

const std::vector<TableColumn> Columns = {{19.1, 82.8}, {101.6, 65.9}};

ReportLayout StockCard(Query &stock)
{
    return {
        .name = u"Картка складського обліку"_s,
        .title = {47.4, Join({
            EnterpriseLine({6.3, 4.0}, {21.2, 7.9}),
            {Label(42.3, 21.2, u"Картка № ________ складського обліку товарів"_s, ActHeading),
             Label(76.2, 29.6, u"станом на"_s, NavyBold),
             SystemDateTime(95.2, 29.6, NavyBold)},
            TableCells(Columns, 40.7, 6.6, Silver),
            {OnHeaderCell(Label(47.9, 42.1, u"Назва товару"_s)),
             OnHeaderCell(Label(117.7, 42.3, u"Кількість на складі"_s))},
        })},
        .detailQuery = &stock,
        .detail = {5.3, Join({
            TableCells(Columns, -0.3, 5.6),
            {RowText(21.2, 0.3, u"nazvatovary"_s),
             Centred(RowText(133.2, 0.0, u"kilkistNaBazi"_s))},
        })},
        .summary = {17.2, {
            Label(2.1, 2.1, u"Всього:"_s),
            Expression(15.9, 2.4, u"COUNT"_s),
            Label(29.6, 2.1, u"найменувань товарів"_s),
            Label(2.1, 8.5, u"Загальна кількість:"_s),
            Expression(33.9, 8.5, u"Sum(KilkistNaBazi)"_s),
        }},
    };
}

} // namespace

TQuickReport19::TQuickReport19(Query &stock, QObject *parent)
    : DocumentLayout(u"QuickReport19"_s, StockCard(stock), parent)
{
}

} // namespace coop
