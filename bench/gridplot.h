#pragma once

#include <QColor>
#include <QString>
#include <QVector>

namespace coop::bench {

struct PlotSeries
{
    QString name;
    QColor colour;
    QVector<double> rows; // x
    QVector<double> ms;   // y
};

// Draws the series on logarithmic axes (rows across, milliseconds up) with a dashed line of
// slope one through the first point of the first series, so that linear growth reads as a
// parallel line; writes a PNG. Returns false when the file cannot be written.
bool drawGridOpenPlot(const QVector<PlotSeries> &series, const QString &title, const QString &path);

} // namespace coop::bench
