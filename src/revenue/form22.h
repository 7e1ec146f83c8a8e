#pragma once

#include "ui_form22.h"
#include "widgets/screen.h"

#include <QtCharts/QChart>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

namespace coop {

class Query;

// "Аналіз виручки": the revenue of one shop over a period as a line, one point per entry of the
// revenue screen's Query3, dated along the bottom, the sum up the side, each point marked with its
// sum. It has no controls: the shop and the period are chosen on the revenue screen. The series
// is refilled whenever that query opens and emptied whenever it closes; a filter switched while it
// stays open reaches the chart only at its next opening.
class TForm22 : public Screen, private Ui::TForm22
{
    Q_OBJECT

public:
    // Binds the chart to the revenue query, which outlives the window, and fills it at once.
    explicit TForm22(Query &revenue, QWidget *parent = nullptr);

    QChart *const Chart1;
    QLineSeries *const Series1;
    QDateTimeAxis *const AxisX;
    QValueAxis *const AxisY;

private:
    void revenueReset();
    void fill();
    void scaleAxes();

    Query &m_revenue;
    bool m_revenueOpen = false;
};

} // namespace coop
