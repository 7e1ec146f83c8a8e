// The base audit act: one audit of the base warehouse with counted quantities, book prices and sums.
#include "reports/documentparts.h"
#include "reports/quickreports.h"

using namespace Qt::StringLiterals;

namespace coop {

namespace {

using namespace DocumentFont;

const std::vector<TableColumn> Columns = {{4.2, 68.0}, {72.0, 42.6}, {114.3, 42.6}, {156.6, 32.0}};

ReportLayout BaseAuditAct(const Query &header, Query &lines)
{
    return {
        .name = u"Акт ревізії бази"_s,
        .title = {57.9, Join({
            EnterpriseLine({10.6, 2.1}, {23.3, 5.8}),
            {Label(42.3, 19.1, u"Акт ревізії № ________________"_s, ActHeading),
             Label(124.9, 19.1, u"від:"_s, NavyBold),
             SystemDate(133.3, 19.1, NavyBold),
             Label(10.6, 31.8, u"Перевіряючий:"_s),
             DataText(38.9, 31.8, &header, u"PIB"_s),
             Label(99.5, 31.8, u"На підставі:"_s),
             DataText(120.7, 31.8, &header, u"Dokyment"_s),
             Label(10.6, 40.2, u"Дата перевірки:"_s),
             DataText(38.1, 40.2, &header, u"DataRevizii"_s),
             Label(99.5, 40.2, u"Місце перевірки:"_s),
             Label(129.1, 40.2, u"Склад товарів"_s)},
            TableCells(Columns, 49.5, 8.7, Silver),
            {OnHeaderCell(Label(21.2, 51.6, u"Назва товару"_s, Bold)),
             OnHeaderCell(Label(78.8, 51.6, u"Кількість фактична"_s, Bold)),
             OnHeaderCell(Label(123.8, 51.6, u"Ціна облікова"_s, Bold)),
             OnHeaderCell(Label(167.2, 51.6, u"Сума"_s, Bold))},
        })},
        .detailQuery = &lines,
        .detail = {8.5, Join({
            TableCells(Columns, 0.0, 8.7),
            {RowText(6.3, 2.1, u"NazvaTovary"_s),
             Centred(RowText(93.8, 2.1, u"Kilkist"_s)),
             Centred(RowText(136.9, 2.1, u"Cina"_s)),
             Centred(RowText(171.8, 2.1, u"Suma"_s))},
        })},
        .summary = {25.4, {
            Rectangle(4.2, 0.0, 184.4, 0.3),
            Label(6.3, 2.1, u"Всього:"_s),
            Expression(20.1, 2.4, u"COUNT"_s),
            Label(27.5, 2.1, u"найменувань товарів"_s),
            Label(6.3, 8.5, u"Загальна кількість:"_s),
            Expression(37.6, 8.7, u"Sum(Kilkist)"_s),
            Label(6.3, 14.8, u"Товарів на суму:"_s),
            Expression(33.9, 14.8, u"Sum(Suma)"_s),
            Label(46.6, 14.8, u"грн."_s),
        }},
    };
}

} // namespace

TQuickReport21::TQuickReport21(const Query &header, Query &lines, QObject *parent)
    : DocumentLayout(u"QuickReport21"_s, BaseAuditAct(header, lines), parent)
{
}

} // namespace coop
