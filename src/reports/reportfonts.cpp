#include "reports/reportfonts.h"

#include <QImage>

namespace coop {

namespace {

// Texts are measured at a printer's resolution, where a scalable font's widths are those of its
// outlines, whatever the screen's resolution (or the absence of a screen).
constexpr int MeasureDpi = 1200;

const QImage &measureDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_Mono);
        const int dotsPerMetre = qRound(MeasureDpi / 0.0254);
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
        return image;
    }();
    return device;
}

constexpr double pixelsToMm(double pixels) { return pixels / MeasureDpi * 25.4; }

} // namespace

QString InstalledFontFamily(const QString &documentFamily)
{
    if (documentFamily.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Sans");
    if (documentFamily.compare(QLatin1String("Arial Narrow"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Sans Narrow");
    return documentFamily;
}

QFont PrintFont(const ReportFont &font)
{
    QFont result(InstalledFontFamily(font.family));
    result.setPointSizeF(font.points);
    result.setBold(font.bold);
    result.setUnderline(font.underline);
    result.setHintingPreference(QFont::PreferNoHinting);
    result.setKerning(false);
    return result;
}

TextMeasure::TextMeasure(const ReportFont &font)
    : m_metrics(PrintFont(font), &measureDevice())
{
}

QSizeF TextMeasure::sizeMm(const QString &text) const
{
    return {pixelsToMm(m_metrics.horizontalAdvance(text)), pixelsToMm(m_metrics.height())};
}

} // namespace coop
