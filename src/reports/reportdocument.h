#pragma once

#include "reports/reportlayout.h"

#include <QDateTime>
#include <QRectF>

#include <vector>

namespace coop {

enum class BandKind { Title, Detail, Summary };

// One element as it stands on a page: its final text and its box in millimetres from the page's
// top-left corner. The preview and the PDF paint exactly these.
struct PlacedElement
{
    ElementKind kind = ElementKind::Label;
    BandKind band = BandKind::Title;
    QString text;
    QRectF box;
    ReportFont font;
    Alignment alignment = Alignment::Left;
    QColor fill;
};

struct ReportPage
{
    std::vector<PlacedElement> elements; // in painting order: a band's shapes before its texts
};

// A laid-out document: built once from the queries, then painted as often as the preview asks.
struct ReportDocument
{
    QString name;
    QDateTime printedAt;
    std::vector<ReportPage> pages;
    int detailRows = 0; // the query rows printed (the empty row of an empty query is not one)
};

} // namespace coop
