// The base audit act: one audit of the base warehouse with counted quantities, book prices and sums.
#include "reports/quickreport21.h"

#include "reports/documentparts.h"

using namespace Qt::StringLiterals;

namespace coop {

namespace {

ReportLayout BaseAuditAct(const Query &header, Query &lines)
{
    return TabularLayout({
        .name = u"Акт ревізії бази"_s,
        .head = {57.9, Join({
            ActHead({10.6, 2.1}, {23.3, 5.8}, {{42.3, 19.1}, u"Акт ревізії № ________________"_s,
                                                {124.9, 19.1}, u"від:"_s, SystemDate(133.3, 19.1)}),
            HeadEntries({{{10.6, 31.8}, u"Перевіряючий:"_s, DataText(38.9, 31.8, &header, u"PIB"_s)},
                         {{99.5, 31.8}, u"На підставі:"_s, DataText(120.7, 31.8, &header, u"Dokyment"_s)},
                         {{10.6, 40.2}, u"Дата перевірки:"_s, DataText(38.1, 40.2, &header, u"DataRevizii"_s)},
                         {{99.5, 40.2}, u"Місце перевірки:"_s, Label(129.1, 40.2, u"Склад товарів"_s)}}),
        })},
        .table = {.headerTop = 49.5, .headerHeight = 8.7, .rowTop = 0.0, .rowHeight = 8.7,
            .columns = {
                {4.2, 68.0, Label(21.2, 51.6, u"Назва товару"_s), RowText(6.3, 2.1, u"NazvaTovary"_s)},
                {72.0, 42.6, Label(78.8, 51.6, u"Кількість фактична"_s), Centred(RowText(93.8, 2.1, u"Kilkist"_s))},
                {114.3, 42.6, Label(123.8, 51.6, u"Ціна облікова"_s), Centred(RowText(136.9, 2.1, u"Cina"_s))},
                {156.6, 32.0, Label(167.2, 51.6, u"Сума"_s), Centred(RowText(171.8, 2.1, u"Suma"_s))},
            }},
        .lines = &lines,
        .lineHeight = 8.5,
        .summary = {25.4, Join({
            {Rectangle(4.2, 0.0, 184.4, 0.3)},
            GoodsCount({6.3, 20.1, 27.5, {37.6, 8.7}}, u"Sum(Kilkist)"_s),
            MoneyTotals({6.3, 33.9, 46.6}, {{14.8, u"Товарів на суму:"_s, u"Sum(Suma)"_s}}),
        })},
    });
}

} // namespace

TQuickReport21::TQuickReport21(const Query &header, Query &lines, QObject *parent)
    : DocumentLayout(u"QuickReport21"_s, BaseAuditAct(header, lines), parent)
{
}

} // namespace coop
