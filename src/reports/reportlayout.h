#pragma once

#include <QColor>
#include <QString>

#include <vector>

namespace coop {

class Query;

// A document layout is a plain table of elements placed in millimetres within three bands: the
// title (once, at the top of the first page), the sub-detail (once per row of its query) and the
// summary (once, after the last row). Nothing here runs: the builder reads it.

inline constexpr double PageWidthMm = 210.0;
inline constexpr double PageHeightMm = 297.0;
inline constexpr double PageMarginMm = 10.0;
inline constexpr double BandWidthMm = PageWidthMm - 2 * PageMarginMm;
inline constexpr double BandAreaHeightMm = PageHeightMm - 2 * PageMarginMm;

inline const QColor Navy{0x00, 0x00, 0x80};
inline const QColor Maroon{0x80, 0x00, 0x00};
inline const QColor Silver{0xC0, 0xC0, 0xC0};

enum class ElementKind {
    Label,          // text: the fixed text
    DataText,       // text: a field name; its field text in the current row of `query`
    Expression,     // text: arithmetic over the sub-detail's fields, SUM(field), COUNT
    SystemDate,     // the date of printing
    SystemDateTime, // the date and time of printing
    Shape,          // a rectangle with a black outline, filled with `fill`
};

enum class Alignment {
    Left,   // the text starts at the element's left edge
    Centre, // the text is centred on the element's box
};

// Families are the document's own names ("Arial", "Arial Narrow"); the painter maps them onto the
// installed metric twins.
struct ReportFont
{
    QString family = QStringLiteral("Arial");
    double points = 10;
    bool bold = false;
    bool underline = false;
    QColor colour = Qt::black;
};

struct ReportElement
{
    ElementKind kind = ElementKind::Label;
    QString text;
    // Data texts: the query whose current row is read. Empty in the sub-detail band: the row being
    // printed.
    const Query *query = nullptr;
    double x = 0; // mm from the band's left edge
    double y = 0; // mm from the band's top edge
    // The box. A text's box grows to hold its text (a centred one about its centre), so a text
    // given by its left edge or its centre alone may leave both zero.
    double width = 0;
    double height = 0;
    ReportFont font;
    Alignment alignment = Alignment::Left;
    // A text's opaque background; Qt::transparent for none.
    QColor fill = Qt::white;
};

struct ReportBand
{
    double height = 0; // mm
    std::vector<ReportElement> elements;
};

struct ReportLayout
{
    QString name; // the preview window's caption and the PDF's title
    ReportBand title;
    // Walked from its first row to its last; a query without rows (or closed) prints one empty row.
    Query *detailQuery = nullptr;
    ReportBand detail;
    ReportBand summary;
};

// Shorthands for the tables of elements.
inline ReportElement Label(double x, double y, const QString &text, ReportFont font = {})
{
    return {.kind = ElementKind::Label, .text = text, .x = x, .y = y, .font = std::move(font)};
}
// A text centred on `centreX`.
inline ReportElement CentredLabel(double centreX, double y, const QString &text, ReportFont font = {})
{
    return {.kind = ElementKind::Label, .text = text, .x = centreX, .y = y, .font = std::move(font),
            .alignment = Alignment::Centre};
}
inline ReportElement DataText(double x, double y, const Query *query, const QString &field, ReportFont font = {})
{
    return {.kind = ElementKind::DataText, .text = field, .query = query, .x = x, .y = y, .font = std::move(font)};
}
// A field of the row being printed, in a sub-detail band.
inline ReportElement RowText(double x, double y, const QString &field, ReportFont font = {})
{
    return DataText(x, y, nullptr, field, std::move(font));
}
inline ReportElement Expression(double x, double y, const QString &expression, ReportFont font = {})
{
    return {.kind = ElementKind::Expression, .text = expression, .x = x, .y = y, .font = std::move(font)};
}
inline ReportElement SystemDate(double x, double y, ReportFont font = {})
{
    return {.kind = ElementKind::SystemDate, .x = x, .y = y, .font = std::move(font)};
}
inline ReportElement SystemDateTime(double x, double y, ReportFont font = {})
{
    return {.kind = ElementKind::SystemDateTime, .x = x, .y = y, .font = std::move(font)};
}
inline ReportElement Rectangle(double x, double y, double width, double height, QColor fill = Qt::white)
{
    return {.kind = ElementKind::Shape, .x = x, .y = y, .width = width, .height = height, .fill = fill};
}
// Centres a text element on `centreX` (for data texts and expressions of the table's columns).
inline ReportElement Centred(ReportElement element)
{
    element.alignment = Alignment::Centre;
    return element;
}
inline ReportElement OnFill(ReportElement element, QColor fill)
{
    element.fill = fill;
    return element;
}
inline ReportElement WithFont(ReportElement element, ReportFont font)
{
    element.font = std::move(font);
    return element;
}

} // namespace coop
