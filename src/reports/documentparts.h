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

struct TableColumn
{
    double left;
    double width;
};

// One row of a table grid: a rectangle per column, all at `top` and `height` high. Rows of the
// detail band are drawn a little taller than the band, so that each row's outline meets the next.
std::vector<ReportElement> TableCells(const std::vector<TableColumn> &columns, double top, double height,
                                      QColor fill = Qt::white);

// A heading on a silver header cell.
ReportElement OnHeaderCell(ReportElement text);

// The elements of several groups in one band, in the order given.
std::vector<ReportElement> Join(std::initializer_list<std::vector<ReportElement>> groups);

} // namespace coop
