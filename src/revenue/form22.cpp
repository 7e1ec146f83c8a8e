#include "form22.h"

#include "data/format.h"
#include "data/query.h"
#include "widgets/handler.h"

#include <QGraphicsItem>
#include <QGraphicsLayout>
#include <QPainter>

#include <algorithm>

namespace coop {

namespace {

const QColor Background(0xC6, 0xFF, 0xE3);
constexpr int MarkLift = 8; // pixels from a point up to its mark

// The sum of every point in a small box above it, on a short stem. Drawn by the window rather than
// by the series' own point labels so that the sums read as the system writes numbers ("1520,5").
// Where points stand closer than their boxes are wide, a point whose box would cover the one drawn
// before it goes without: the marks stay readable, and a year of entries paints as fast as a week.
class ValueMarks : public QGraphicsItem
{
public:
    ValueMarks(QChart &chart, QLineSeries &series) : QGraphicsItem(&chart), m_chart(chart), m_series(series)
    {
        setZValue(10);
    }

    QRectF boundingRect() const override { return m_chart.boundingRect(); }

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override
    {
        const QRectF area = m_chart.plotArea();
        const QFontMetricsF metrics(painter->font());
        painter->setRenderHint(QPainter::Antialiasing);
        QRectF last;
        for (const QPointF &point : m_series.points()) {
            const QPointF at = m_chart.mapToPosition(point, &m_series);
            if (!area.adjusted(-1, -1, 1, 1).contains(at) || (!last.isNull() && at.x() <= last.right()))
                continue;
            const QString text = LocaleNumberText(point.y());
            const QPointF top = at - QPointF(0, MarkLift);
            QRectF box(0, 0, metrics.horizontalAdvance(text) + 6, metrics.height() + 2);
            box.moveCenter(QPointF(top.x(), top.y() - box.height() / 2));
            if (!last.isNull() && box.intersects(last))
                continue;
            last = box;
            painter->setPen(QPen(Qt::darkGray, 1));
            painter->drawLine(at, top);
            painter->setBrush(QColor(0xFF, 0xFF, 0xE1));
            painter->drawRect(box);
            painter->setPen(Qt::black);
            painter->drawText(box, Qt::AlignCenter, text);
        }
    }

    void refresh()
    {
        prepareGeometryChange();
        update();
    }

private:
    QChart &m_chart;
    QLineSeries &m_series;
};

qreal dateX(const QDate &date) { return qreal(date.startOfDay().toMSecsSinceEpoch()); }

} // namespace

TForm22::TForm22(Query &revenue, QWidget *parent)
    : Screen(parent), Chart1(new QChart), Series1(new QLineSeries(Chart1)), AxisX(new QDateTimeAxis(Chart1)),
      AxisY(new QValueAxis(Chart1)), m_revenue(revenue)
{
    setupUi(this);

    Chart1->setTitle(QStringLiteral("Аналіз виручки магазину за період"));
    QFont titleFont = font();
    titleFont.setPointSize(11);
    titleFont.setBold(true);
    Chart1->setTitleFont(titleFont);
    Chart1->legend()->hide();
    Chart1->setBackgroundBrush(Background);
    Chart1->setBackgroundRoundness(0);
    Chart1->layout()->setContentsMargins(0, 0, 0, 0); // the chart fills the whole window
    Chart1->setPlotAreaBackgroundVisible(false); // the back wall is white with a clear brush
    Chart1->setMargins(QMargins(8, 8, 16, 8));

    Series1->setName(QStringLiteral("Виручка"));
    Series1->setPen(QPen(Qt::red, 2));
    Series1->setPointsVisible(false);
    Chart1->addSeries(Series1);

    AxisX->setFormat(QString::fromLatin1(ShortDateFormat));
    AxisY->setTitleText(QStringLiteral("Виручка, грн."));
    AxisY->setLabelFormat(QStringLiteral("%.2f"));
    Chart1->addAxis(AxisX, Qt::AlignBottom);
    Chart1->addAxis(AxisY, Qt::AlignLeft);
    Series1->attachAxis(AxisX);
    Series1->attachAxis(AxisY);
    Chart1->setLocalizeNumbers(true);
    QLocale numbers(QLocale::Ukrainian, QLocale::Ukraine);
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    Chart1->setLocale(numbers);

    auto *marks = new ValueMarks(*Chart1, *Series1);
    connect(Chart1, &QChart::plotAreaChanged, this, [marks] { marks->refresh(); });
    connect(Series1, &QXYSeries::pointsReplaced, this, [marks] { marks->refresh(); });

    DBChart1->setChart(Chart1); // the view owns the chart from here on
    onEvent(&m_revenue, &Query::dataReset, this, &TForm22::revenueReset);
    m_revenueOpen = m_revenue.active();
    fill();
}

void TForm22::revenueReset()
{
    // The query tells only that its rows changed: an opening or a closing is a change of its active
    // state; a new filter or a walk's end leaves it open, and the chart as it was.
    if (m_revenue.active() == m_revenueOpen)
        return;
    m_revenueOpen = m_revenue.active();
    fill();
}

void TForm22::fill()
{
    QList<QPointF> points;
    if (m_revenue.active()) {
        const Field *date = m_revenue.fieldByName(QStringLiteral("Data"));
        const Field *sum = m_revenue.fieldByName(QStringLiteral("Syma"));
        // Read row by row without moving the current entry, so the revenue grid stays where it is.
        // The entries of one day follow one another: the day's start in local time (a time-zone
        // lookup) is worked out once for them.
        points.reserve(m_revenue.recordCount());
        QDate lastDay;
        qreal lastX = 0;
        bool known = false;
        for (int row = 0; row < m_revenue.recordCount(); ++row) {
            const QVariant day = m_revenue.value(row, date);
            const QVariant value = m_revenue.value(row, sum);
            if (day.isValid() && value.isValid()) { // an entry without a date or a sum has no place
                if (const QDate entryDay = day.toDate(); !known || entryDay != lastDay) {
                    known = true;
                    lastDay = entryDay;
                    lastX = dateX(entryDay);
                }
                points.append(QPointF(lastX, value.toDouble()));
            }
        }
    }
    std::stable_sort(points.begin(), points.end(), [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); });
    Series1->replace(points);
    scaleAxes();
}

void TForm22::scaleAxes()
{
    const QList<QPointF> points = Series1->points();
    constexpr qint64 day = 24 * 60 * 60 * 1000;
    if (points.isEmpty()) {
        const QDate today = QDate::currentDate();
        AxisX->setRange(today.addDays(-1).startOfDay(), today.addDays(1).startOfDay());
        AxisX->setTickCount(3);
        AxisY->setRange(0, 1);
        return;
    }
    // A day's room on either side keeps the first and the last mark inside the plot.
    const qint64 first = qint64(points.first().x()) - day, last = qint64(points.last().x()) + day;
    AxisX->setRange(QDateTime::fromMSecsSinceEpoch(first), QDateTime::fromMSecsSinceEpoch(last));
    AxisX->setTickCount(int(std::clamp<qsizetype>(points.size() + 2, 3, 7)));
    const auto [low, high] = std::minmax_element(points.begin(), points.end(),
                                                 [](const QPointF &a, const QPointF &b) { return a.y() < b.y(); });
    const qreal bottom = std::min<qreal>(0, low->y());
    const qreal top = std::max<qreal>(high->y(), bottom + 1);
    // Headroom above the highest point for its mark.
    AxisY->setRange(bottom, top + (top - bottom) * 0.15);
    AxisY->setTickCount(6);
    AxisY->applyNiceNumbers();
}

} // namespace coop
