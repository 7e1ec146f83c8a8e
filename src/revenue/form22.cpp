#include "form22.h"

#include "data/format.h"
#include "data/query.h"
#include "ui_form22.h"
#include "widgets/handler.h"

#include <QGraphicsItem>
#include <QGraphicsLayout>
#include <QPainter>

#include <algorithm>
#include <vector>

namespace coop {

namespace {

const QColor Background(0xC6, 0xFF, 0xE3);
constexpr int MarkLift = 8; // pixels from a point up to its mark

qreal dateX(const QDate &date) { return qreal(date.startOfDay().toMSecsSinceEpoch()); }

constexpr int StemGap = 2;  // from the axis down to a date
constexpr int LabelGap = 8; // between two dates side by side

QFont textFont(const QChart &chart)
{
    QFont font = chart.font();
    font.setPointSize(8);
    return font;
}

} // namespace

PointTexts::PointTexts(QChart &chart) : QGraphicsItem(&chart), m_chart(chart) { setZValue(10); }

void PointTexts::setPoints(const QList<QPointF> &points, const QList<QDate> &dates)
{
    m_points = points;
    m_dates = dates;
    m_sums.clear();
    m_sums.reserve(points.size());
    for (const QPointF &point : points)
        m_sums << LocaleNumberText(point.y());
    refresh();
}

qreal PointTexts::labelHeight() const { return QFontMetricsF(textFont(m_chart)).height() + 2; }

PointTexts::Scale PointTexts::scale() const
{
    const QRectF area = m_chart.plotArea();
    const auto *x = qobject_cast<QDateTimeAxis *>(m_chart.axes(Qt::Horizontal).value(0));
    const auto *y = qobject_cast<QValueAxis *>(m_chart.axes(Qt::Vertical).value(0));
    Scale out;
    out.x0 = qreal(x->min().toMSecsSinceEpoch());
    out.kx = area.width() / std::max<qreal>(1, qreal(x->max().toMSecsSinceEpoch()) - out.x0);
    out.left = area.left();
    out.y0 = y->min();
    out.ky = area.height() / std::max<qreal>(1e-9, y->max() - y->min());
    out.bottom = area.bottom();
    return out;
}

QList<PlacedText> PointTexts::marks() const
{
    QList<PlacedText> out;
    if (m_points.isEmpty())
        return out;
    const QRectF area = m_chart.plotArea();
    const QFontMetricsF metrics(textFont(m_chart));
    const Scale at = scale();
    out.reserve(m_points.size());
    for (qsizetype i = 0; i < m_points.size(); ++i) {
        const QPointF point = at(m_points[i]);
        QRectF box(0, 0, metrics.horizontalAdvance(m_sums[i]) + 6, metrics.height() + 2);
        box.moveCenter(QPointF(point.x(), point.y() - MarkLift - box.height() / 2));
        // Inside the plot: the first mark stays clear of the vertical axis's sums, the last of the edge.
        if (box.left() < area.left())
            box.moveLeft(area.left());
        if (box.right() > area.right())
            box.moveRight(area.right());
        out.append({box, m_sums[i]});
    }
    return out;
}

QList<PlacedText> PointTexts::dateLabels() const
{
    QList<PlacedText> out;
    if (m_points.isEmpty())
        return out;
    const QRectF area = m_chart.plotArea();
    const QRectF room = m_chart.boundingRect();
    const QFontMetricsF metrics(textFont(m_chart));
    const Scale at = scale();
    qreal taken = room.left() - LabelGap; // right edge of the last date drawn
    for (qsizetype i = 0; i < m_points.size(); ++i) {
        const qreal x = at(m_points[i]).x();
        if (x - taken < LabelGap) // no date fits here: not worth the text
            continue;
        const QString text = LocaleDateText(m_dates[i]);
        QRectF box(0, 0, metrics.horizontalAdvance(text) + 2, metrics.height());
        box.moveCenter(QPointF(x, area.bottom() + StemGap + 4 + box.height() / 2));
        if (box.left() < room.left())
            box.moveLeft(room.left());
        if (box.right() > room.right())
            box.moveRight(room.right());
        if (box.left() < taken + LabelGap)
            continue;
        taken = box.right();
        out.append({box, text});
    }
    return out;
}

QRectF PointTexts::boundingRect() const { return m_chart.boundingRect(); }

void PointTexts::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    if (m_points.isEmpty())
        return;
    painter->setFont(textFont(m_chart));
    const QRectF area = m_chart.plotArea();
    const QList<PlacedText> labels = dateLabels();
    painter->setPen(QPen(Qt::black, 1));
    for (const PlacedText &label : labels) {
        const qreal x = label.box.center().x();
        painter->drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + StemGap + 2));
        painter->drawText(label.box, Qt::AlignCenter, label.text);
    }
    const QList<PlacedText> placed = marks();
    const Scale at = scale();
    for (qsizetype i = 0; i < placed.size(); ++i) {
        const QPointF point = at(m_points[i]);
        painter->setPen(QPen(Qt::darkGray, 1));
        painter->drawLine(point, QPointF(point.x(), placed[i].box.bottom()));
        painter->setBrush(QColor(0xFF, 0xFF, 0xE1));
        painter->drawRect(placed[i].box);
        painter->setPen(Qt::black);
        painter->drawText(placed[i].box, Qt::AlignCenter, placed[i].text);
    }
}

void PointTexts::refresh()
{
    prepareGeometryChange();
    update();
}

TForm22::TForm22(Query &revenue, QWidget *parent)
    : Screen(parent), Chart1(new QChart), Series1(new QLineSeries(Chart1)), AxisX(new QDateTimeAxis(Chart1)),
      AxisY(new QValueAxis(Chart1)), Marks(new PointTexts(*Chart1)),
      ui(std::make_unique<Ui::TForm22>()), m_revenue(revenue)
{
    ui->setupUi(this);

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
    // The dates under the axis are the window's own (PointTexts): room for them below the plot.
    Chart1->setMargins(QMargins(8, 8, 16, 8 + int(Marks->labelHeight()) + 6));

    Series1->setName(QStringLiteral("Виручка"));
    Series1->setPen(QPen(Qt::red, 2));
    Series1->setPointsVisible(false);
    Chart1->addSeries(Series1);

    AxisX->setFormat(QString::fromLatin1(ShortDateFormat));
    AxisX->setLabelsVisible(false);
    AxisX->setGridLineVisible(false);
    AxisX->setTickCount(2);
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

    connect(Chart1, &QChart::plotAreaChanged, this, [this] { Marks->refresh(); });

    ui->DBChart1->setChart(Chart1); // the view owns the chart from here on
    onEvent(&m_revenue, &Query::dataReset, this, &TForm22::revenueReset);
    m_revenueOpen = m_revenue.active();
    fill();
}

TForm22::~TForm22() = default;

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
    struct Entry
    {
        QPointF point;
        QDate day;
    };
    std::vector<Entry> entries;
    if (m_revenue.active()) {
        const Field *date = m_revenue.fieldByName(QStringLiteral("Data"));
        const Field *sum = m_revenue.fieldByName(QStringLiteral("Syma"));
        // Read row by row without moving the current entry, so the revenue grid stays where it is.
        // The entries of one day follow one another: the day's start in local time (a time-zone
        // lookup) is worked out once for them.
        entries.reserve(size_t(m_revenue.recordCount()));
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
                entries.push_back({QPointF(lastX, value.toDouble()), lastDay});
            }
        }
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) { return a.point.x() < b.point.x(); });
    QList<QPointF> points;
    QList<QDate> days;
    points.reserve(qsizetype(entries.size()));
    days.reserve(qsizetype(entries.size()));
    for (const Entry &entry : entries) {
        points.append(entry.point);
        days.append(entry.day);
    }
    Series1->replace(points);
    scaleAxes();
    Marks->setPoints(points, days);
}

void TForm22::scaleAxes()
{
    const QList<QPointF> points = Series1->points();
    constexpr qint64 day = 24 * 60 * 60 * 1000;
    if (points.isEmpty()) {
        const QDate today = QDate::currentDate();
        AxisX->setRange(today.addDays(-1).startOfDay(), today.addDays(1).startOfDay());
            AxisY->setRange(0, 1);
        return;
    }
    // A day's room on either side keeps the first and the last mark inside the plot.
    const qint64 first = qint64(points.first().x()) - day, last = qint64(points.last().x()) + day;
    AxisX->setRange(QDateTime::fromMSecsSinceEpoch(first), QDateTime::fromMSecsSinceEpoch(last));
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
