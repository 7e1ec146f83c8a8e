// The internal transfer invoice: goods moved from the base warehouse to a shop, without VAT.
#include "reports/documentparts.h"
#include "reports/quickreports.h"

using namespace Qt::StringLiterals;

namespace coop {

namespace {

using namespace DocumentFont;

const std::vector<TableColumn> Columns = {{2.1, 76.5}, {78.3, 38.4}, {116.4, 36.2}, {152.4, 34.1}};

ReportLayout TransferInvoice(const Query &header, Query &lines)
{
    return {
        .name = u"Накладна на внутрішнє переміщення"_s,
        .title = {68.5, Join({
            CooperativeDetails(6.3),
            {Label(15.3, 41.8, u"Накладна на внутрішнє переміщення №________________"_s, InvoiceHeading),
             Label(153.2, 43.1, u"від:"_s, InvoiceDate),
             SystemDate(162.5, 42.9, InvoiceDate),
             Label(6.3, 52.9, u"Звідки:"_s, PartyLabel),
             Label(23.3, 52.9, u"Склад товарів"_s, Party),
             Label(110.3, 52.9, u"Куди:"_s, PartyLabel),
             DataText(131.2, 52.9, &header, u"NazvaMagazuny"_s, Party)},
            TableCells(Columns, 61.9, 6.6, Silver),
            {OnHeaderCell(Label(23.8, 63.0, u"Назва товару"_s, Bold)),
             OnHeaderCell(Label(88.6, 63.0, u"Кількість"_s, Bold)),
             OnHeaderCell(Label(125.7, 63.0, u"Ціна, грн."_s, Bold)),
             OnHeaderCell(Label(159.8, 62.7, u"Сума, грн."_s, Bold))},
        })},
        .detailQuery = &lines,
        .detail = {6.3, Join({
            TableCells(Columns, -0.3, 6.6),
            {RowText(4.5, 1.3, u"nazvatovary"_s),
             Centred(RowText(97.5, 0.8, u"Kilkist"_s)),
             Centred(RowText(135.2, 0.8, u"CinaPostachannya"_s)),
             Centred(RowText(167.9, 0.0, u"Suma"_s))},
        })},
        // No rule closes this table.
        .summary = {23.3, {
            Label(135.5, 4.2, u"Всього:"_s, MaroonBold),
            Expression(150.3, 4.2, u"SUM(Suma)"_s, MaroonBold),
            Label(160.9, 4.2, u"грн."_s, MaroonBold),
            Label(31.8, 12.7, u"Видав: ____________________"_s),
            Label(108.0, 12.7, u"Отримав: ________________________"_s),
        }},
    };
}

} // namespace

TQuickReport18::TQuickReport18(const Query &header, Query &lines, QObject *parent)
    : DocumentLayout(u"QuickReport18"_s, TransferInvoice(header, lines), parent)
{
}

} // namespace coop
