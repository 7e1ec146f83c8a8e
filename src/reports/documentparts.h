#pragma once

#include "reports/reportlayout.h"

#include <QPointF>

#include <initializer_list>
#include <vector>

namespace coop {

// What the cooperative's printed documents have in common: its name and details, the fonts of
// their headings, and table grids made of rectangles laid edge to edge.

// The cooperative's name as every document prints it, spelling included; kept in this one place.
QString CooperativeName();

namespace DocumentFont {
inline const ReportFont InvoiceHeading{.family = QStringLiteral("Arial Narrow"), .points = 16, .bold = true,
                                       .colour = Navy};
inline const ReportFont InvoiceDate{.points = 12, .bold = true, .colour = Navy};
inline const ReportFont ActHeading{.points = 14, .bold = true, .colour = Navy};
inline const ReportFont NavyBold{.bold = true, .colour = Navy};
inline const ReportFont MaroonBold{.bold = true, .colour = Maroon};
inline const ReportFont Bold{.bold = true};
inline const ReportFont Underlined{.underline = true};
inline const ReportFont Party{.points = 11};
inline const ReportFont PartyLabel{.points = 11, .bold = true};
} // namespace DocumentFont

// The cooperative's details in two columns at the head of an invoice (enterprise, ownership,
// trade, address, telephone; registry code, bank, account, bank code). `codeLabelTop` is where
// "Код ЄДРПОУ:" stands, which differs between the invoices.
std::vector<ReportElement> CooperativeDetails(double codeLabelTop);

// The cooperative's name, underlined, over the caption "(підприємство)".
std::vector<ReportElement> EnterpriseLine(QPointF name, QPointF caption);

// A document's heading, with a blank for the number written by hand, and the date of printing
// after its caption ("від:", "станом на").
struct DocumentHeading
{
    QPointF at;
    QString text;
    QPointF captionAt;
    QString caption;
    ReportElement date; // SystemDate or SystemDateTime
};

// A caption in a document's head and its value beside it: a fixed text or a field of the header
// query, placed where it stands.
struct HeadEntry
{
    QPointF at;
    QString caption;
    ReportElement value;
};
// Each entry's caption, then its value, the captions in `captionFont` and the values in `valueFont`.
std::vector<ReportElement> HeadEntries(std::initializer_list<HeadEntry> entries, const ReportFont &captionFont = {},
                                       const ReportFont &valueFont = {});

// The head of an invoice: the cooperative's details, its heading and date, then its parties (who
// delivers, who receives, from where to where) in the party fonts.
std::vector<ReportElement> InvoiceHead(double codeLabelTop, const DocumentHeading &heading,
                                       std::initializer_list<HeadEntry> parties);
// The head of an act or a card: the enterprise line, then its heading and date in the act's fonts.
std::vector<ReportElement> ActHead(QPointF enterprise, QPointF enterpriseCaption, const DocumentHeading &heading);

// A column of a document's table: the left edge and width of its cells (the same in the header
// and in every line), its heading on the silver header cell and what each line prints in it.
struct TableColumn
{
    double left;
    double width;
    ReportElement heading;
    ReportElement cell;
};

struct DocumentTable
{
    ReportFont headingFont = DocumentFont::Bold;
    // The header cells in the title band; the cells of a line in the detail band, drawn a little
    // taller than the band so that each line's outline meets the next.
    double headerTop;
    double headerHeight;
    double rowTop;
    double rowHeight;
    std::vector<TableColumn> columns;
};

// The table's header for the title band: the silver cells, then their headings.
std::vector<ReportElement> TableHeader(const DocumentTable &table);
// One line of the table for the detail band: the white cells, then what the line prints in them.
std::vector<ReportElement> TableRow(const DocumentTable &table);

// What every document is: a head, a table with a line per row of the lines query, and what stands
// under the table.
struct TabularDocument
{
    QString name;
    ReportBand head; // the title band, the table's header left out: it is placed by the table
    DocumentTable table;
    Query *lines;
    double lineHeight;
    ReportBand summary;
};
ReportLayout TabularLayout(TabularDocument document);

// Totals in money under a table: a caption, the sum its expression gives and "грн." after it,
// each in its own column, a line per total.
struct MoneyColumns
{
    double caption;
    double figure;
    double unit;
};
struct MoneyTotal
{
    double top;
    QString caption;
    QString expression;
};
std::vector<ReportElement> MoneyTotals(MoneyColumns columns, std::initializer_list<MoneyTotal> totals,
                                       const ReportFont &font = {});

// "Всього: N найменувань товарів" and "Загальна кількість: Q" under a table of goods: the number
// of lines printed and the total of the quantity `quantityExpression` sums. The captions stand at
// `captionX`.
struct GoodsCountPlaces
{
    double captionX;
    double countX;
    double namesX;
    QPointF quantity;
};
std::vector<ReportElement> GoodsCount(GoodsCountPlaces places, const QString &quantityExpression);

// The elements of several groups in one band, in the order given.
std::vector<ReportElement> Join(std::initializer_list<std::vector<ReportElement>> groups);

} // namespace coop
