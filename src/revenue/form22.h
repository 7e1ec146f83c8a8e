#pragma once

#include "widgets/screen.h"

#include <QtCharts/QChart>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include <QDate>
#include <QGraphicsItem>
#include <memory>

namespace Ui {
class TForm22;
}

namespace coop {

class Query;

// A text the chart draws: a point's mark or an entry's date under the axis.
struct PlacedText
{
    QRectF box;
    QString text;
};

// The texts of the chart's points, drawn by the window rather than by the series and the axis so
// that they read as the system writes numbers and dates ("1520,5", "08.12.2026"):
// - a mark above every point, each giving its sum in a small box on a stem 8 pixels high; marks
//   are never skipped, and stay inside the plot so that the first does not cover the sums of the
//   vertical axis;
// - under the horizontal axis, the entries' own dates at their points, left to right; a date that
//   would overlap the one before it is skipped, as an axis skips crowded labels.
class PointTexts : public QGraphicsItem
{
public:
    explicit PointTexts(QChart &chart);

    // The points in ascending X (milliseconds of the entry's day), their sums and dates.
    void setPoints(const QList<QPointF> &points, const QList<QDate> &dates);
    // Where the texts stand at the chart's present size and scale.
    QList<PlacedText> marks() const;
    QList<PlacedText> dateLabels() const;
    // Room under the plot for the dates.
    qreal labelHeight() const;

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override;
    void refresh();

private:
    // From the axes' values to the chart's pixels, read once per layout rather than per point.
    struct Scale
    {
        qreal x0, kx, left, y0, ky, bottom;
        QPointF operator()(const QPointF &value) const { return {left + (value.x() - x0) * kx, bottom - (value.y() - y0) * ky}; }
    };
    Scale scale() const;

    QChart &m_chart;
    QList<QPointF> m_points;
    QList<QDate> m_dates;
    QStringList m_sums;
};

// "Аналіз виручки": the revenue of one shop over a period as a line, one point per entry of the
// revenue screen's Query3, dated along the bottom, the sum up the side, each point marked with its
// sum. It has no controls: the shop and the period are chosen on the revenue screen. The series
// is refilled whenever that query opens and emptied whenever it closes; a filter switched while it
// stays open reaches the chart only at its next opening.
class TForm22 : public Screen
{
    Q_OBJECT

public:
    // Binds the chart to the revenue query, which outlives the window, and fills it at once.
    explicit TForm22(Query &revenue, QWidget *parent = nullptr);
    ~TForm22() override;

    QChart *const Chart1;
    QLineSeries *const Series1;
    QDateTimeAxis *const AxisX;
    QValueAxis *const AxisY;
    PointTexts *const Marks;

private:
    void revenueReset();
    void fill();
    void scaleAxes();

    std::unique_ptr<Ui::TForm22> ui;
    Query &m_revenue;
    bool m_revenueOpen = false;
};

} // namespace coop
