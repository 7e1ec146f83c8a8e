// The shop revenue screen driven through its controls (the exact statements, the entries of the
// current shop, the panel and its checks, the date filter across shops, activation that opens
// nothing) and the revenue chart bound to its entries: the points, when they change, and what is
// drawn.
#include "data/database.h"
#include "data/format.h"
#include "data/query.h"
#include "revenue/form16.h"
#include "revenue/form22.h"
#include "support/controls.h"
#include "support/guitestmain.h"
#include "support/messagerecorder.h"
#include "support/screendriving.h"
#include "support/testdatabase.h"
#include "widgets/datetimepicker.h"
#include "widgets/dbgrid.h"
#include "widgets/idcombobox.h"

#include <QImage>
#include <QtCharts/QChartView>

using namespace coop;

namespace {

QPointF point(int year, int month, int day, double sum)
{
    return QPointF(qreal(QDate(year, month, day).startOfDay().toMSecsSinceEpoch()), sum);
}

bool isRed(QRgb pixel) { return qRed(pixel) > 200 && qGreen(pixel) < 90 && qBlue(pixel) < 90; }

} // namespace

class TestRevenue : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<Database> m_connection;
    std::unique_ptr<TForm16> m_form;
    std::unique_ptr<TForm22> m_chart;

    TForm16 &form() { return *m_form; }
    QStringList writes() { return takeWrites(*m_connection); }
    void selectShop(int id) { QVERIFY(form().Query1->locate(QStringLiteral("Id"), id)); }
    QStringList shownEntries()
    {
        QStringList ids;
        const Query &entries = *form().Query3;
        if (entries.active())
            for (int row = 0; row < entries.recordCount(); ++row)
                ids << entries.displayText(row, entries.fieldByName(QStringLiteral("id")));
        ids.sort();
        return ids;
    }
    QString currentEntry() { return form().Query3->fieldByName(QStringLiteral("id"))->asString(); }
    QList<QPointF> chartPoints() const { return m_chart->Series1->points(); }

private slots:
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        // Shop 3's entries were typed out of date order.
        m_db->exec(QStringLiteral(
            "INSERT INTO magazunu (Id, NazvaMagazuny) VALUES (3, 'Колос'), (5, 'Зоря'), (8, 'Нива');"
            "INSERT INTO spivrobitnuku (Id, PIB) VALUES (4, 'Коваль'), (6, 'Мельник');"
            "INSERT INTO vurychka (Id, IdMagazuny, IdSpivrobitnuka, Syma, Data) VALUES"
            " (61, 3, 4, 1520.5, '2026-12-08'), (62, 3, 6, 900, '2026-12-02'), (63, 3, 4, 1200.25, '2026-12-05'),"
            " (64, 5, 6, 300, '2026-11-30')"));
        m_connection = std::make_unique<Database>();
        m_form = std::make_unique<TForm16>(*m_connection);
        m_form->create();
        m_chart = std::make_unique<TForm22>(*m_form->Query3);
        m_chart->create();
        m_form->reach(*m_chart);
        selectShop(3);
        m_form->show();
        m_connection->setStatementLogging(true);
    }
    void cleanup()
    {
        m_chart.reset();
        m_form.reset();
        m_connection.reset();
        m_db.reset();
    }

    void entriesFollowTheShop()
    {
        selectShop(5);
        QCOMPARE(m_connection->statementLog(),
                 QStringList{QStringLiteral("Select vurychka.id, vurychka.IdMagazuny, vurychka.IdSpivrobitnuka, vurychka.Syma, vurychka.Data, "
                             "magazunu.id, spivrobitnuku.PIB\n"
                             "From vurychka, magazunu, spivrobitnuku\n"
                             "Where vurychka.IdMagazuny = magazunu.Id AND vurychka.idSpivrobitnuka = spivrobitnuku.id\n"
                             "and vurychka.IdMagazuny=5")});
        QCOMPARE(shownEntries(), QStringList{QStringLiteral("64")});
        QCOMPARE(control<coop::DBGrid>(form(), "DBGrid2")->model()->rowCount(), 1);
    }

    void insertEntry()
    {
        MessageRecorder messages;
        QVERIFY(control<coop::IdComboBox>(form(), "ComboBox1")->isEnabled() && !control<QLineEdit>(form(), "Edit1")->isEnabled()); // the employee box is never disabled
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn1"), Qt::LeftButton);
        QCOMPARE(form().tag(), EditMode::Insert);
        QVERIFY(control<QLineEdit>(form(), "Edit1")->isEnabled() && !control<QPushButton>(form(), "BitBtn2")->isEnabled());
        choose(control<coop::IdComboBox>(form(), "ComboBox1"), QStringLiteral("4"));
        control<QLineEdit>(form(), "Edit1")->setFocus();
        QTest::keyClicks(control<QLineEdit>(form(), "Edit1"), QStringLiteral("1520.,5,"));
        QCOMPARE(control<QLineEdit>(form(), "Edit1")->text(), QStringLiteral("1520,5"));
        control<coop::DateTimePicker>(form(), "DateTimePicker1")->setDate(QDate(2026, 12, 8));
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn4"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList{QStringLiteral("INSERT INTO vurychka (IdSpivrobitnuka, Syma, Data, IdMagazuny) values ('4','1520.5','2026-12-08',3)")});
        QCOMPARE(form().state(), DocumentScreen::State::Browsing);
        QCOMPARE(form().Query3->recordCount(), 4);
        QCOMPARE(form().Query3->recNo(), 0);
        QVERIFY(control<QLineEdit>(form(), "Edit1")->text().isEmpty() && control<coop::IdComboBox>(form(), "ComboBox1")->currentText().isEmpty());
        QVERIFY(messages.requests.isEmpty());
    }

    void updateMakesTheFirstEntryCurrent()
    {
        // What the panel shows for each entry of shop 3.
        struct Entry { QString employee, sum; QDate date; };
        const QMap<QString, Entry> entries{{QStringLiteral("61"), {QStringLiteral("Коваль"), QStringLiteral("1520,5"), QDate(2026, 12, 8)}},
                                           {QStringLiteral("62"), {QStringLiteral("Мельник"), QStringLiteral("900"), QDate(2026, 12, 2)}},
                                           {QStringLiteral("63"), {QStringLiteral("Коваль"), QStringLiteral("1200,25"), QDate(2026, 12, 5)}}};
        MessageRecorder messages;
        form().Query3->setRecNo(1);
        const QString id = currentEntry();
        const Entry entry = entries.value(id);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn2"), Qt::LeftButton);
        QCOMPARE(form().tag(), EditMode::Update);
        QCOMPARE(control<coop::IdComboBox>(form(), "ComboBox1")->currentText(), entry.employee);
        QCOMPARE(control<QLineEdit>(form(), "Edit1")->text(), entry.sum);
        QCOMPARE(control<coop::DateTimePicker>(form(), "DateTimePicker1")->date(), entry.date);
        choose(control<coop::IdComboBox>(form(), "ComboBox1"), QStringLiteral("6"));
        control<QLineEdit>(form(), "Edit1")->setText(QStringLiteral("77,5"));
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn4"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList{QStringLiteral("UPDATE vurychka Set IdSpivrobitnuka=6, Syma='77.5', Data='%1' WHERE vurychka.Id=%2")
                                           .arg(entry.date.toString(QStringLiteral("yyyy-MM-dd")), id)});
        QCOMPARE(m_db->rows(QStringLiteral("select IdMagazuny, IdSpivrobitnuka, Syma from vurychka where Id=") + id), QStringList{QStringLiteral("3|6|77.5")});
        QCOMPARE(form().Query3->recNo(), 0); // the first entry, not the one written
        QCOMPARE(form().state(), DocumentScreen::State::Browsing);
        QVERIFY(messages.requests.isEmpty());
    }

    void entryChecks_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("employee"); // an id to choose, or a text typed by hand
        QTest::addColumn<QString>("sum");
        QTest::addColumn<QString>("error");    // the error box's text; empty: the entry-check message
        QTest::newRow("insert: no employee") << 1 << "" << "10" << "";
        QTest::newRow("insert: employee naming no entry") << 1 << "Коваль І." << "10" << "";
        QTest::newRow("insert: no sum") << 1 << "4" << "" << "";
        QTest::newRow("insert: a lone comma") << 1 << "4" << "," << "',' is not a valid floating point value.";
        QTest::newRow("update: employee emptied") << 2 << "" << "10" << "";
        QTest::newRow("update: no sum") << 2 << "4" << "" << "'' is not a valid floating point value.";
    }
    void entryChecks()
    {
        QFETCH(int, mode);
        QFETCH(QString, employee);
        QFETCH(QString, sum);
        QFETCH(QString, error);
        MessageRecorder messages;
        QTest::mouseClick(mode == 1 ? control<QPushButton>(form(), "BitBtn1") : control<QPushButton>(form(), "BitBtn2"), Qt::LeftButton);
        if (control<coop::IdComboBox>(form(), "ComboBox1")->idList().contains(employee))
            choose(control<coop::IdComboBox>(form(), "ComboBox1"), employee);
        else
            control<coop::IdComboBox>(form(), "ComboBox1")->setEditText(employee);
        control<QLineEdit>(form(), "Edit1")->setText(sum);
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn4"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList());
        QCOMPARE(messages.requests.size(), 1);
        if (error.isEmpty()) {
            QCOMPARE(messages.requests[0].kind, MessageKind::Box);
            QCOMPARE(messages.requests[0].caption, QStringLiteral("Помилка"));
            QCOMPARE(messages.requests[0].text, QStringLiteral("Введіть коректні дані"));
            QCOMPARE(messages.requests[0].icon, MessageIcon::Exclamation);
        } else {
            QCOMPARE(messages.requests[0].kind, MessageKind::ErrorBox);
            QCOMPARE(messages.requests[0].text, error);
        }
        QCOMPARE(form().state(), DocumentScreen::State::LineEditing);
        QCOMPARE(control<QLineEdit>(form(), "Edit1")->text(), sum);
    }

    void shopWithoutEntries()
    {
        selectShop(8);
        QVERIFY(form().Query3->active() && form().Query3->isEmpty());
        QVERIFY(chartPoints().isEmpty());
        MessageRecorder messages(mrYes);
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn2"), Qt::LeftButton);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn3"), Qt::LeftButton);
        QCOMPARE(messages.requests.size(), 2);
        for (const MessageRequest &request : messages.requests)
            QCOMPARE(request.text, QStringLiteral("Не вибрано жодного запису"));
        QCOMPARE(writes(), QStringList());
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn1"), Qt::LeftButton);
        choose(control<coop::IdComboBox>(form(), "ComboBox1"), QStringLiteral("6"));
        control<QLineEdit>(form(), "Edit1")->setText(QStringLiteral("12"));
        control<coop::DateTimePicker>(form(), "DateTimePicker1")->setDate(QDate(2026, 12, 9));
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn4"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList{QStringLiteral("INSERT INTO vurychka (IdSpivrobitnuka, Syma, Data, IdMagazuny) values ('6','12','2026-12-09',8)")});
        QCOMPARE(chartPoints(), QList<QPointF>{point(2026, 12, 9, 12)});
    }

    void deleteEntry_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("yes") << int(mrYes);
        QTest::newRow("no") << int(mrNo);
    }
    void deleteEntry()
    {
        QFETCH(int, answer);
        form().Query3->setRecNo(1);
        const QString id = currentEntry();
        QStringList after = shownEntries();
        if (answer == mrYes)
            after.removeOne(id);
        MessageRecorder messages(answer);
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn3"), Qt::LeftButton);
        QCOMPARE(writes(), answer == mrYes ? QStringList{QStringLiteral("DELETE FROM vurychka WHERE vurychka.id=") + id + QStringLiteral(";")} : QStringList());
        QCOMPARE(messages.requests.size(), 1);
        QCOMPARE(messages.requests[0].caption, QStringLiteral("Увага!!!"));
        QCOMPARE(messages.requests[0].icon, MessageIcon::Question);
        QCOMPARE(shownEntries(), after);
        QCOMPARE(chartPoints().size(), after.size()); // reopened: the chart follows
        QCOMPARE(form().Query3->recNo(), 0);
    }

    void dateFilterHoldsAcrossShops()
    {
        control<coop::DateTimePicker>(form(), "DateTimePicker2")->setDate(QDate(2026, 11, 30));
        control<coop::DateTimePicker>(form(), "DateTimePicker3")->setDate(QDate(2026, 12, 5));
        writes();
        emit control<coop::DateTimePicker>(form(), "DateTimePicker3")->closeUp();
        QCOMPARE(form().Query3->filter(), QStringLiteral("Data>='30.11.2026' and Data<='05.12.2026'"));
        QCOMPARE(writes(), QStringList());
        QCOMPARE(shownEntries(), QStringList({QStringLiteral("62"), QStringLiteral("63")}));
        selectShop(5);
        QCOMPARE(shownEntries(), QStringList{QStringLiteral("64")}); // the lower bound is included
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn7"), Qt::LeftButton);
        QCOMPARE(shownEntries(), QStringList{QStringLiteral("64")});
        selectShop(3);
        QCOMPARE(shownEntries(), QStringList({QStringLiteral("61"), QStringLiteral("62"), QStringLiteral("63")}));
    }

    void activationOpensNothing()
    {
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn1"), Qt::LeftButton);
        control<QLineEdit>(form(), "Edit1")->setText(QStringLiteral("5"));
        control<coop::DateTimePicker>(form(), "DateTimePicker1")->setDate(QDate(2026, 1, 2));
        control<coop::DBGrid>(form(), "DBGrid2")->setFocus();
        form().activate(); // the focus comes back from the chart, say
        QCOMPARE(form().state(), DocumentScreen::State::Browsing);
        QCOMPARE(control<QLineEdit>(form(), "Edit1")->text(), QString());
        QCOMPARE(control<coop::DateTimePicker>(form(), "DateTimePicker1")->date(), QDate::currentDate());
        QCOMPARE(form().focusWidget(), control<coop::DBGrid>(form(), "DBGrid1"));

        // After "Роз'єднатися" the grids and the chart stay empty, and nothing can be edited.
        m_connection->close();
        form().activate();
        QVERIFY(!form().Query1->active() && !form().Query3->active());
        QVERIFY(chartPoints().isEmpty());
        MessageRecorder messages(mrYes);
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn2"), Qt::LeftButton);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn3"), Qt::LeftButton);
        QCOMPARE(messages.requests.size(), 2);
        QCOMPARE(writes(), QStringList());
    }

    void escDoesNothing()
    {
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn1"), Qt::LeftButton);
        QTest::keyClick(&form(), Qt::Key_Escape);
        QCOMPARE(form().state(), DocumentScreen::State::LineEditing);
        QVERIFY(form().isVisible());
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn5"), Qt::LeftButton);
        QTest::keyClick(&form(), Qt::Key_Escape);
        QVERIFY(form().isVisible());
    }

    void chartPointsByDate()
    {
        const QList<QPointF> shop3{point(2026, 12, 2, 900), point(2026, 12, 5, 1200.25), point(2026, 12, 8, 1520.5)};
        QCOMPARE(chartPoints(), shop3);

        // A filter switched while the query stays open does not reach the chart...
        control<coop::DateTimePicker>(form(), "DateTimePicker2")->setDate(QDate(2026, 12, 4));
        control<coop::DateTimePicker>(form(), "DateTimePicker3")->setDate(QDate(2026, 12, 31));
        emit control<coop::DateTimePicker>(form(), "DateTimePicker2")->closeUp();
        QCOMPARE(form().Query3->recordCount(), 2);
        QCOMPARE(chartPoints(), shop3);
        // ...until the query reopens, with another shop or after a change.
        selectShop(5);
        QVERIFY(chartPoints().isEmpty()); // 30.11 is outside the range
        selectShop(3);
        QCOMPARE(chartPoints(), shop3.mid(1));
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn7"), Qt::LeftButton);
        QCOMPARE(chartPoints(), shop3.mid(1));
        QCOMPARE(form().Query3->recNo(), 0);

        m_connection->close(); // "Роз'єднатися"
        QVERIFY(chartPoints().isEmpty());
    }

    void fillingKeepsTheCurrentEntry()
    {
        form().Query3->setRecNo(2);
        const QString current = currentEntry();
        TForm22 another(*form().Query3);
        QCOMPARE(another.Series1->count(), 3);
        QCOMPARE(currentEntry(), current);
    }

    void demoShopMonth()
    {
        // The demo cooperative: shop 1's revenue in March 2011, the period chosen before the shop.
        TestDatabase demo(true);
        Database connection;
        TForm16 revenue(connection);
        revenue.create();
        TForm22 chart(*revenue.Query3);
        chart.create();
        control<coop::DateTimePicker>(revenue, "DateTimePicker2")->setDate(QDate(2011, 3, 1));
        control<coop::DateTimePicker>(revenue, "DateTimePicker3")->setDate(QDate(2011, 3, 31));
        emit control<coop::DateTimePicker>(revenue, "DateTimePicker3")->closeUp();
        QVERIFY(revenue.Query1->locate(QStringLiteral("Id"), 2));
        QVERIFY(revenue.Query1->locate(QStringLiteral("Id"), 1));
        const QList<QPointF> points = chart.Series1->points();
        QCOMPARE(QString::number(points.size()),
                 demo.value(QStringLiteral("select count(*) from vurychka where IdMagazuny=1 and Data between '2011-03-01' and '2011-03-31'")));
        QVERIFY(points.size() > 1);
        for (qsizetype i = 1; i < points.size(); ++i)
            QVERIFY(points[i - 1].x() <= points[i].x());
        if (const QByteArray path = qgetenv("COOP_DEMO_CHART_PNG"); !path.isEmpty()) {
            chart.show();
            QCoreApplication::processEvents();
            chart.grab().save(QString::fromLocal8Bit(path));
            chart.hide();
        }
    }

    // Shows the chart and lets it lay itself out at its window's size.
    void showChart()
    {
        m_chart->show();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    QPointF pixelOf(const QPointF &value) const { return m_chart->Chart1->mapToPosition(value, m_chart->Series1); }

    // A mark above every point giving its sum, 8 pixels up on its stem; under the axis the entries'
    // own dates, each at its entry.
    void marksAndDatesOfTheEntries()
    {
        showChart();
        const QList<QPointF> points = chartPoints();
        const QList<PlacedText> marks = m_chart->Marks->marks();
        QCOMPARE(marks.size(), 3);
        QStringList sums;
        for (qsizetype i = 0; i < marks.size(); ++i) {
            sums << marks[i].text;
            QVERIFY(qAbs(marks[i].box.bottom() - (pixelOf(points[i]).y() - 8)) < 1);
            QVERIFY(qAbs(marks[i].box.center().x() - pixelOf(points[i]).x()) < 1);
        }
        QCOMPARE(sums, QStringList({QStringLiteral("900"), QStringLiteral("1200,25"), QStringLiteral("1520,5")}));

        const QList<PlacedText> dates = m_chart->Marks->dateLabels();
        QStringList texts;
        for (qsizetype i = 0; i < dates.size(); ++i) {
            texts << dates[i].text;
            QVERIFY(qAbs(dates[i].box.center().x() - pixelOf(points[i]).x()) < 1);
            QVERIFY(dates[i].box.top() > m_chart->Chart1->plotArea().bottom());
            QVERIFY(m_chart->Chart1->boundingRect().contains(dates[i].box));
        }
        QCOMPARE(texts, QStringList({QStringLiteral("02.12.2026"), QStringLiteral("05.12.2026"), QStringLiteral("08.12.2026")}));
        QVERIFY(!m_chart->AxisX->labelsVisible()); // no evenly spaced days beside them
        m_chart->hide();
    }

    // Two years of entries, several a day: every point keeps its mark, inside the plot (the first
    // clear of the vertical axis's sums); the dates that would overlap are skipped, the others are
    // entries' dates in order, each at its entry.
    void crowdedEntries()
    {
        QStringList rows;
        for (int day = 0; day < 730; day += 3)
            for (int n = 0; n < 2; ++n)
                rows << QStringLiteral("(8, 4, %1, '%2')").arg(12345.67 + day + n).arg(QDate(2025, 1, 1).addDays(day).toString(Qt::ISODate));
        m_db->exec(QStringLiteral("INSERT INTO vurychka (IdMagazuny, IdSpivrobitnuka, Syma, Data) VALUES ") + rows.join(u','));
        selectShop(8);
        showChart();
        const QList<QPointF> points = chartPoints();
        QCOMPARE(points.size(), rows.size());
        const QRectF plot = m_chart->Chart1->plotArea();
        const QList<PlacedText> marks = m_chart->Marks->marks();
        QCOMPARE(marks.size(), points.size());
        for (qsizetype i = 0; i < marks.size(); ++i) {
            QCOMPARE(marks[i].text, LocaleNumberText(points[i].y()));
            QVERIFY(marks[i].box.left() >= plot.left() && marks[i].box.right() <= plot.right());
        }

        const QList<PlacedText> dates = m_chart->Marks->dateLabels();
        QVERIFY(dates.size() > 4 && dates.size() < points.size() / 4);
        QCOMPARE(dates.first().text, QStringLiteral("01.01.2025"));
        qsizetype entry = 0;
        for (qsizetype i = 0; i < dates.size(); ++i) {
            if (i > 0)
                QVERIFY(dates[i - 1].box.right() < dates[i].box.left());
            while (entry < points.size() && LocaleDateText(QDateTime::fromMSecsSinceEpoch(qint64(points[entry].x())).date()) != dates[i].text)
                ++entry;
            QVERIFY2(entry < points.size(), qPrintable(dates[i].text + QStringLiteral(" is no entry's date, or out of order")));
            QVERIFY(qAbs(dates[i].box.center().x() - pixelOf(points[entry]).x()) < 1 || i == 0 || i == dates.size() - 1);
        }
        m_chart->hide();
    }

    void showingTheChart()
    {
        // The chart is drawn as shown: a red line through every point, a mark above each.
        QImage image;
        QList<QPoint> at;
        const ShowModalFunction previous = setShowModalFunction([&](QDialog &dialog) {
            dialog.show();
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
            for (const QPointF &p : m_chart->Series1->points()) {
                const QPointF scene = m_chart->Chart1->mapToScene(m_chart->Chart1->mapToPosition(p, m_chart->Series1));
                at << control<QChartView>(*m_chart, "DBChart1")->viewport()->mapTo(&dialog, control<QChartView>(*m_chart, "DBChart1")->mapFromScene(scene));
            }
            image = dialog.grab().toImage();
            dialog.done(mrCancel);
            return int(mrCancel);
        });
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn1"), Qt::LeftButton); // a panel left open
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn8"), Qt::LeftButton);
        setShowModalFunction(previous);

        if (const QByteArray path = qgetenv("COOP_CHART_PNG"); !path.isEmpty())
            image.save(QString::fromLocal8Bit(path));
        QCOMPARE(image.size(), QSize(748, 439) * image.devicePixelRatio());
        QCOMPARE(at.size(), 3);
        for (const QPoint &p : at) {
            bool red = false, mark = false;
            for (int dx = -2; dx <= 2; ++dx)
                for (int dy = -2; dy <= 2; ++dy)
                    red = red || isRed(image.pixel(p + QPoint(dx, dy)));
            for (int dy = 10; dy <= 16; ++dy)
                mark = mark || image.pixel(p - QPoint(0, dy)) == qRgb(0xFF, 0xFF, 0xE1);
            QVERIFY2(red, qPrintable(QStringLiteral("no line at %1,%2").arg(p.x()).arg(p.y())));
            QVERIFY2(mark, qPrintable(QStringLiteral("no mark above %1,%2").arg(p.x()).arg(p.y())));
        }
        // The background is the system's green; the chart's own corner shows it.
        QCOMPARE(QColor(image.pixel(2, 2)), QColor(0xC6, 0xFF, 0xE3));
        // Closing the chart brings the focus back: the revenue screen's open panel is abandoned.
        QCOMPARE(form().state(), DocumentScreen::State::Browsing);
    }
};

COOP_GUI_TEST_MAIN(TestRevenue)
#include "test_revenue.moc"
