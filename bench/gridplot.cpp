#include "gridplot.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace coop::bench {

namespace {

QString rowsLabel(double rows)
{
    if (rows >= 1e6)
        return QStringLiteral("%1M").arg(rows / 1e6);
    if (rows >= 1e3)
        return QStringLiteral("%1k").arg(rows / 1e3);
    return QString::number(rows);
}

QString msLabel(double ms)
{
    if (ms >= 1000)
        return QStringLiteral("%1 s").arg(ms / 1000);
    return QStringLiteral("%1 ms").arg(ms);
}

} // namespace

bool drawGridOpenPlot(const QVector<PlotSeries> &series, const QString &title, const QString &path)
{
    double xMin = 1e300, xMax = 0, yMin = 1e300, yMax = 0;
    for (const PlotSeries &s : series)
        for (int i = 0; i < s.rows.size(); ++i) {
            xMin = std::min(xMin, s.rows[i]);
            xMax = std::max(xMax, s.rows[i]);
            yMin = std::min(yMin, std::max(s.ms[i], 0.01));
            yMax = std::max(yMax, s.ms[i]);
        }
    if (xMax <= 0 || yMax <= 0)
        return false;
    // Whole decades around the data.
    const double lx0 = std::floor(std::log10(xMin)), lx1 = std::max(lx0 + 1, std::ceil(std::log10(xMax)));
    const double ly0 = std::floor(std::log10(yMin)), ly1 = std::max(ly0 + 1, std::ceil(std::log10(yMax)));

    const QSize size(960, 640);
    const QRectF area(90, 60, size.width() - 90 - 240, size.height() - 60 - 70);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("DejaVu Sans"), 10);
    p.setFont(font);

    const auto toPoint = [&](double rows, double ms) {
        const double fx = (std::log10(rows) - lx0) / (lx1 - lx0);
        const double fy = (std::log10(std::max(ms, 0.01)) - ly0) / (ly1 - ly0);
        return QPointF(area.left() + fx * area.width(), area.bottom() - fy * area.height());
    };

    // Grid lines at every decade, light lines at 2 and 5.
    for (double d = lx0; d <= lx1 + 1e-9; ++d) {
        for (int m : {1, 2, 5}) {
            const double x = std::pow(10.0, d) * m;
            if (std::log10(x) > lx1 + 1e-9)
                break;
            const QPointF top = toPoint(x, std::pow(10.0, ly1)), bottom = toPoint(x, std::pow(10.0, ly0));
            p.setPen(QPen(m == 1 ? QColor(200, 200, 200) : QColor(235, 235, 235), 1));
            p.drawLine(top, bottom);
            if (m == 1) {
                p.setPen(Qt::black);
                p.drawText(QRectF(bottom.x() - 40, bottom.y() + 6, 80, 18), Qt::AlignCenter, rowsLabel(x));
            }
        }
    }
    for (double d = ly0; d <= ly1 + 1e-9; ++d) {
        for (int m : {1, 2, 5}) {
            const double y = std::pow(10.0, d) * m;
            if (std::log10(y) > ly1 + 1e-9)
                break;
            const QPointF left = toPoint(std::pow(10.0, lx0), y), right = toPoint(std::pow(10.0, lx1), y);
            p.setPen(QPen(m == 1 ? QColor(200, 200, 200) : QColor(235, 235, 235), 1));
            p.drawLine(left, right);
            if (m == 1) {
                p.setPen(Qt::black);
                p.drawText(QRectF(left.x() - 85, left.y() - 9, 78, 18), Qt::AlignRight | Qt::AlignVCenter, msLabel(y));
            }
        }
    }
    p.setPen(QPen(Qt::black, 1.5));
    p.drawRect(area);

    // Linear growth through the first point of the first series.
    if (!series.isEmpty() && !series.first().rows.isEmpty()) {
        const double r0 = series.first().rows.first(), m0 = series.first().ms.first();
        p.save();
        p.setClipRect(area);
        p.setPen(QPen(QColor(120, 120, 120), 1.2, Qt::DashLine));
        p.drawLine(toPoint(std::pow(10.0, lx0), m0 * std::pow(10.0, lx0) / r0), toPoint(std::pow(10.0, lx1), m0 * std::pow(10.0, lx1) / r0));
        p.restore();
    }

    for (const PlotSeries &s : series) {
        QPainterPath line;
        for (int i = 0; i < s.rows.size(); ++i)
            i == 0 ? line.moveTo(toPoint(s.rows[i], s.ms[i])) : line.lineTo(toPoint(s.rows[i], s.ms[i]));
        p.setPen(QPen(s.colour, 2.5));
        p.setBrush(Qt::NoBrush);
        p.drawPath(line);
        p.setBrush(s.colour);
        for (int i = 0; i < s.rows.size(); ++i)
            p.drawEllipse(toPoint(s.rows[i], s.ms[i]), 4, 4);
    }

    // Legend to the right of the plot.
    double y = area.top() + 10;
    for (const PlotSeries &s : series) {
        p.setPen(QPen(s.colour, 2.5));
        p.drawLine(QPointF(area.right() + 20, y + 8), QPointF(area.right() + 50, y + 8));
        p.setPen(Qt::black);
        p.drawText(QRectF(area.right() + 58, y - 2, 180, 40), Qt::AlignLeft | Qt::TextWordWrap, s.name);
        y += 46;
    }
    p.setPen(QPen(QColor(120, 120, 120), 1.2, Qt::DashLine));
    p.drawLine(QPointF(area.right() + 20, y + 8), QPointF(area.right() + 50, y + 8));
    p.setPen(Qt::black);
    p.drawText(QRectF(area.right() + 58, y - 2, 180, 40), Qt::AlignLeft | Qt::TextWordWrap, QStringLiteral("linear growth"));

    QFont bold = font;
    bold.setPointSize(12);
    bold.setBold(true);
    p.setFont(bold);
    p.drawText(QRectF(0, 14, size.width(), 30), Qt::AlignCenter, title);
    p.setFont(font);
    p.drawText(QRectF(area.left(), area.bottom() + 30, area.width(), 20), Qt::AlignCenter, QStringLiteral("rows (log scale)"));
    p.save();
    p.translate(18, area.center().y());
    p.rotate(-90);
    p.drawText(QRectF(-150, -10, 300, 20), Qt::AlignCenter, QStringLiteral("time to the grid painted (log scale)"));
    p.restore();
    p.end();
    return image.save(path, "PNG");
}

} // namespace coop::bench
