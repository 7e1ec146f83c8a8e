// The receipt invoice. Prices in a receipt are net of VAT; the invoice adds 20 %.
#include "reports/quickreport17.h"

#include "reports/documentparts.h"

using namespace Qt::StringLiterals;

namespace coop {

namespace {

ReportLayout ReceiptInvoice(const Query &header, Query &lines)
{
    const QString name = u"Прибуткова накладна"_s;
    return TabularLayout({
        .name = name,
        .head = {87.6, InvoiceHead(5.8,
                                   {{29.6, 41.8}, name + u" №________________"_s, {131.8, 42.9}, u"від:"_s,
                                    SystemDate(141.8, 43.1)},
                                   {{{6.6, 52.4}, u"Виконавець:"_s, DataText(40.2, 52.9, &header, u"nazvaPostachalnuka"_s)},
                                    {{6.3, 61.4}, u"Замовник:"_s, Label(40.2, 61.4, CooperativeName())},
                                    {{6.3, 69.3}, u"Постачання від:"_s, DataText(40.2, 69.1, &header, u"DataNadhodgenya"_s)}})},
        .table = {.headerTop = 81.2, .headerHeight = 6.6, .rowTop = 0.0, .rowHeight = 6.6,
            .columns = {
                {4.2, 53.2, CentredLabel(31.1, 82.0, u"Товар"_s), RowText(6.3, 0.8, u"NazvaTovary"_s)},
                {57.1, 38.4, CentredLabel(75.8, 82.0, u"Кількість"_s), Centred(RowText(76.3, 0.8, u"Kilkist"_s))},
                {95.2, 32.0, Label(102.4, 82.0, u"Ціна, грн."_s), Centred(RowText(110.2, 0.8, u"Cina"_s))},
                {127.0, 27.8, Label(132.0, 82.0, u"Сума, грн."_s), Centred(RowText(140.6, 0.8, u"Suma"_s))},
                {154.5, 32.0, Label(155.6, 82.0, u"Сума з ПДВ, грн."_s), Centred(Expression(170.1, 1.1, u"Suma * 1.2"_s))},
            }},
        .lines = &lines,
        .lineHeight = 6.3,
        .summary = {33.9, Join({
            {Rectangle(4.2, 0.0, 182.3, 0.3)},
            MoneyTotals({95.2, 139.7, 152.4}, {{2.1, u"Всього отримано на суму:"_s, u"SUM(Suma)"_s},
                                               {8.5, u"В тому числі ПДВ:"_s, u"SUM(Suma) * 0.2"_s},
                                               {14.8, u"Всього:"_s, u"SUM(Suma) * 1.2"_s}}),
            {Label(21.2, 25.4, u"Доставив: ____________________"_s),
             Label(95.2, 25.4, u"Отримав: ________________________"_s)},
        })},
    });
}

} // namespace

TQuickReport17::TQuickReport17(const Query &header, Query &lines, QObject *parent)
    : DocumentLayout(u"QuickReport17"_s, ReceiptInvoice(header, lines), parent)
{
}

} // namespace coop
