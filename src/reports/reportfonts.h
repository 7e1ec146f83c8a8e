#pragma once

#include "reports/reportlayout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QSizeF>

namespace coop {

// The installed family that stands for a document's family: the Liberation fonts are metric twins
// of Arial and Arial Narrow, so texts keep the widths the layouts were drawn for.
QString InstalledFontFamily(const QString &documentFamily);

// The font as the painter sets it: points as given, no hinting, so that widths scale with the
// device and the measure taken once holds on the preview and in the PDF alike.
QFont PrintFont(const ReportFont &font);

// The size of a one-line text in millimetres.
class TextMeasure
{
public:
    explicit TextMeasure(const ReportFont &font);
    QSizeF sizeMm(const QString &text) const;

private:
    QFontMetricsF m_metrics;
};

} // namespace coop
