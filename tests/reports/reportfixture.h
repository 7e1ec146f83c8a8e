#pragma once

#include "data/database.h"
#include "data/query.h"
#include "reports/reportlayout.h"
#include "support/testdatabase.h"

#include <QList>

#include <utility>

// A small invoice over tables of its own: a header query of three suppliers, standing on the
// second, and a lines query with a calculated Suma = Kilkist × Cina. Its layout has every kind of
// element; tests read their positions from the constants below.
class ReportFixture
{
public:
    static constexpr double TitleHeight = 40;
    static constexpr double RowHeight = 6.3;
    static constexpr double SummaryHeight = 30;
    static constexpr int Columns = 5; // texts of a detail row, shapes alike

    ReportFixture();

    // Lines named "Товар 1", "Товар 2", … with the given quantities and prices.
    void addLines(const QList<std::pair<double, double>> &lines);
    void addNumberedLines(int count); // quantity = the line's number, price 1
    // Opens both queries; the header stands on its second row, the lines on their first.
    void open();

    coop::ReportLayout layout();

    TestDatabase database;
    coop::Database connection;
    coop::Query header;
    coop::Query lines;

private:
    int m_lineCount = 0;
};
