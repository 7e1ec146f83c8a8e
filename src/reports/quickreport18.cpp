// The internal transfer invoice: goods moved from the base warehouse to a shop, without VAT.
#include "reports/quickreport18.h"

#include "reports/documentparts.h"

using namespace Qt::StringLiterals;

namespace coop {

namespace {

ReportLayout TransferInvoice(const Query &header, Query &lines)
{
    const QString name = u"Накладна на внутрішнє переміщення"_s;
    return TabularLayout({
        .name = name,
        .head = {68.5, InvoiceHead(6.3,
                                   {{15.3, 41.8}, name + u" №________________"_s, {153.2, 43.1}, u"від:"_s,
                                    SystemDate(162.5, 42.9)},
                                   {{{6.3, 52.9}, u"Звідки:"_s, Label(23.3, 52.9, u"Склад товарів"_s)},
                                    {{110.3, 52.9}, u"Куди:"_s, DataText(131.2, 52.9, &header, u"NazvaMagazuny"_s)}})},
        .table = {.headerTop = 61.9, .headerHeight = 6.6, .rowTop = -0.3, .rowHeight = 6.6,
            .columns = {
                {2.1, 76.5, Label(23.8, 63.0, u"Назва товару"_s), RowText(4.5, 1.3, u"nazvatovary"_s)},
                {78.3, 38.4, Label(88.6, 63.0, u"Кількість"_s), Centred(RowText(97.5, 0.8, u"Kilkist"_s))},
                {116.4, 36.2, Label(125.7, 63.0, u"Ціна, грн."_s), Centred(RowText(135.2, 0.8, u"CinaPostachannya"_s))},
                {152.4, 34.1, Label(159.8, 62.7, u"Сума, грн."_s), Centred(RowText(167.9, 0.0, u"Suma"_s))},
            }},
        .lines = &lines,
        .lineHeight = 6.3,
        // No rule closes this table.
        .summary = {23.3, Join({
            MoneyTotals({135.5, 150.3, 160.9}, {{4.2, u"Всього:"_s, u"SUM(Suma)"_s}}, DocumentFont::MaroonBold),
            {Label(31.8, 12.7, u"Видав: ____________________"_s),
             Label(108.0, 12.7, u"Отримав: ________________________"_s)},
        })},
    });
}

} // namespace

TQuickReport18::TQuickReport18(const Query &header, Query &lines, QObject *parent)
    : DocumentLayout(u"QuickReport18"_s, TransferInvoice(header, lines), parent)
{
}

} // namespace coop
