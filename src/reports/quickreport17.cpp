// The receipt invoice. Prices in a receipt are net of VAT; the invoice adds 20 %.
#include "reports/documentparts.h"
#include "reports/quickreports.h"

using namespace Qt::StringLiterals;

namespace coop {

namespace {

using namespace DocumentFont;

const std::vector<TableColumn> Columns = {{4.2, 53.2}, {57.1, 38.4}, {95.2, 32.0}, {127.0, 27.8}, {154.5, 32.0}};

ReportLayout ReceiptInvoice(const Query &header, Query &lines)
{
    return {
        .name = u"Прибуткова накладна"_s,
        .title = {87.6, Join({
            CooperativeDetails(5.8),
            {Label(29.6, 41.8, u"Прибуткова накладна №________________"_s, InvoiceHeading),
             Label(131.8, 42.9, u"від:"_s, InvoiceDate),
             SystemDate(141.8, 43.1, InvoiceDate),
             Label(6.6, 52.4, u"Виконавець:"_s, PartyLabel),
             DataText(40.2, 52.9, &header, u"nazvaPostachalnuka"_s, Party),
             Label(6.3, 61.4, u"Замовник:"_s, PartyLabel),
             Label(40.2, 61.4, CooperativeName(), Party),
             Label(6.3, 69.3, u"Постачання від:"_s, PartyLabel),
             DataText(40.2, 69.1, &header, u"DataNadhodgenya"_s, Party)},
            TableCells(Columns, 81.2, 6.6, Silver),
            {OnHeaderCell(CentredLabel(31.1, 82.0, u"Товар"_s, Bold)),
             OnHeaderCell(CentredLabel(75.8, 82.0, u"Кількість"_s, Bold)),
             OnHeaderCell(Label(102.4, 82.0, u"Ціна, грн."_s, Bold)),
             OnHeaderCell(Label(132.0, 82.0, u"Сума, грн."_s, Bold)),
             OnHeaderCell(Label(155.6, 82.0, u"Сума з ПДВ, грн."_s, Bold))},
        })},
        .detailQuery = &lines,
        .detail = {6.3, Join({
            TableCells(Columns, 0.0, 6.6),
            {RowText(6.3, 0.8, u"NazvaTovary"_s),
             Centred(RowText(76.3, 0.8, u"Kilkist"_s)),
             Centred(RowText(110.2, 0.8, u"Cina"_s)),
             Centred(RowText(140.6, 0.8, u"Suma"_s)),
             Centred(Expression(170.1, 1.1, u"Suma * 1.2"_s))},
        })},
        .summary = {33.9, {
            Rectangle(4.2, 0.0, 182.3, 0.3),
            Label(95.2, 2.1, u"Всього отримано на суму:"_s),
            Expression(139.7, 2.1, u"SUM(Suma)"_s),
            Label(152.4, 2.1, u"грн."_s),
            Label(95.2, 8.5, u"В тому числі ПДВ:"_s),
            Expression(139.7, 8.5, u"SUM(Suma) * 0.2"_s),
            Label(152.4, 8.5, u"грн."_s),
            Label(95.2, 14.8, u"Всього:"_s),
            Expression(139.7, 14.8, u"SUM(Suma) * 1.2"_s),
            Label(152.4, 14.8, u"грн."_s),
            Label(21.2, 25.4, u"Доставив: ____________________"_s),
            Label(95.2, 25.4, u"Отримав: ________________________"_s),
        }},
    };
}

} // namespace

TQuickReport17::TQuickReport17(const Query &header, Query &lines, QObject *parent)
    : DocumentLayout(u"QuickReport17"_s, ReceiptInvoice(header, lines), parent)
{
}

} // namespace coop
