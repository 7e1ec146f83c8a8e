// Every window of the program walked by the keyboard, as the registry creates it: the Tab order of
// each (top to bottom, left to right, a group at a time; disabled controls passed over), the focus
// in the first entry control when a panel opens, and back on the button that opened it when Esc
// closes it.
#include "app/windowregistry.h"
#include "stock/form12.h"
#include "support/guitestmain.h"
#include "support/keyboard.h"
#include "support/messagerecorder.h"
#include "support/testdatabase.h"
#include "widgets/screen.h"

#include <QAbstractButton>
#include <QApplication>

#include <initializer_list>

#include <memory>

using namespace coop;

class TestKeyboard : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<WindowRegistry> m_windows;
    ShowModalFunction m_previous;

    QWidget *windowNamed(const QString &name) const
    {
        if (name == u"MovementHistory")
            return m_windows->form12().History;
        for (QObject *window : m_windows->windows())
            if (window->objectName() == name)
                return qobject_cast<QWidget *>(window);
        return nullptr;
    }
    // The window shown and made the active one, so that the focus moves as it does for the clerk.
    static bool showActive(QWidget &window)
    {
        window.show();
        QApplication::setActiveWindow(&window);
        return QTest::qWaitForWindowActive(&window);
    }
    // The names the focus passes through from where it stands, Tab after Tab.
    static QStringList walk(qsizetype steps)
    {
        QStringList names{focusName()};
        for (qsizetype i = 0; i < steps; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            names << focusName();
        }
        return names;
    }
    // And back, Shift+Tab after Shift+Tab.
    static QStringList walkBack(qsizetype steps)
    {
        QStringList names{focusName()};
        for (qsizetype i = 0; i < steps; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            names.prepend(focusName());
        }
        return names;
    }
    static void press(QWidget &window, const QString &button)
    {
        auto *found = window.findChild<QAbstractButton *>(button);
        QVERIFY2(found && found->isEnabled(), qPrintable(button));
        found->setFocus(Qt::TabFocusReason);
        QTest::keyClick(found, Qt::Key_Space);
    }

private slots:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>(true);
        m_windows = std::make_unique<WindowRegistry>();
        // A window opened from another is shown without a nested event loop.
        m_previous = setShowModalFunction([](QDialog &dialog) {
            dialog.show();
            return dialog.result();
        });
    }
    void cleanupTestCase()
    {
        setShowModalFunction(std::move(m_previous));
        m_windows.reset();
        m_db.reset();
    }
    void cleanup()
    {
        for (QObject *object : m_windows->windows())
            if (auto *shown = qobject_cast<QWidget *>(object); shown && shown->isVisible())
                shown->hide();
        m_windows->form12().History->hide();
    }

    // A row is a window in one state and its whole Tab cycle. `opener` says how the walk starts:
    // empty, the focus is put on the first control of the cycle; "show", the window's own focus on
    // showing is the first; a button's name, that button is pressed with Space (it opens a panel)
    // and the focus it leaves is the first.
    void tabOrder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("opener");
        QTest::addColumn<QStringList>("order");

        // The order is given in pieces of names, each separated from the next by a blank.
        const auto row = [](const char *name, const char *window, const char *opener, std::initializer_list<const char *> order) {
            QString names;
            for (const char *piece : order)
                names += QString::fromLatin1(piece);
            QTest::newRow(name) << QString::fromLatin1(window) << QString::fromLatin1(opener) << names.split(u' ');
        };
        row("connection", "Form2", "", {"Edit1 Edit2 Edit3 BitBtn1 BitBtn2"});
        row("search dialog: opens in its field", "Form5", "show", {"Edit1 BitBtn1 BitBtn2"});
        row("filter dialog: opens on Прийняти", "Form6", "show", {"BitBtn1 BitBtn2 Edit1"});

        row("goods", "Form10", "", {"BitBtn7 BitBtn8 BitBtn9 DBGrid1 BitBtn1 BitBtn2 BitBtn3 BitBtn6 BitBtn10"});
        row("goods adding", "Form10", "BitBtn1", {"Edit1 Edit2 BitBtn4 BitBtn5 DBGrid1"});
        row("goods editing", "Form10", "BitBtn2", {"Edit1 Edit2 BitBtn4 BitBtn5 DBGrid1"});
        row("departments", "Form8", "", {"BitBtn7 BitBtn8 BitBtn9 DBGrid1 BitBtn1 BitBtn2 BitBtn3 BitBtn6 BitBtn10"});
        row("departments adding", "Form8", "BitBtn1", {"Edit1 Edit2 BitBtn4 BitBtn5 DBGrid1"});
        row("departments editing", "Form8", "BitBtn2", {"Edit1 Edit2 BitBtn4 BitBtn5 DBGrid1"});
        row("suppliers", "Form4", "", {"BitBtn6 BitBtn7 BitBtn8 BitBtn9 DBGrid1 BitBtn1 BitBtn2 BitBtn3 BitBtn10"});
        row("suppliers adding", "Form4", "BitBtn1", {"Edit1 Edit2 MaskEdit1 Edit4 BitBtn4 BitBtn5 DBGrid1"});
        row("suppliers editing", "Form4", "BitBtn2", {"Edit1 Edit2 MaskEdit1 Edit4 BitBtn4 BitBtn5 DBGrid1"});
        row("shops", "Form9", "", {"BitBtn6 BitBtn7 BitBtn8 DBGrid1 BitBtn1 BitBtn2 BitBtn3 BitBtn9 BitBtn10"});
        row("shops adding", "Form9", "BitBtn1", {"Edit1 Edit2 ComboBox1 BitBtn4 BitBtn5 DBGrid1"});
        row("shops editing", "Form9", "BitBtn2", {"Edit1 Edit2 ComboBox1 BitBtn4 BitBtn5 DBGrid1"});
        row("employees", "Form3", "",
            {"BitBtn7 BitBtn8 BitBtn9 DateTimePicker1 DateTimePicker2 BitBtn6 ComboBox4 ComboBox5 DBGrid1 BitBtn1 BitBtn2 "
            "BitBtn3 BitBtn10 BitBtn11"});
        row("employees adding", "Form3", "BitBtn1",
            {"Edit1 MaskEdit1 Edit3 Edit4 MaskEdit2 Edit6 MaskEdit3 ComboBox1 ComboBox2 Edit7 ComboBox3 BitBtn4 BitBtn5 "
            "DateTimePicker1 DateTimePicker2 DBGrid1"});
        row("employees editing", "Form3", "BitBtn2",
            {"Edit1 MaskEdit1 Edit3 Edit4 MaskEdit2 Edit6 MaskEdit3 ComboBox1 ComboBox2 Edit7 ComboBox3 BitBtn4 BitBtn5 "
            "DateTimePicker1 DateTimePicker2 DBGrid1"});

        const char *const receiptsTail = "BitBtn13 BitBtn14 BitBtn17 BitBtn15 Edit3 BitBtn16 BitBtn12";
        row("receipts", "Form7", "",
            {"DBGrid1 BitBtn1 BitBtn2 BitBtn3 DateTimePicker2 DateTimePicker3 BitBtn11 DBGrid2 BitBtn6 BitBtn7 BitBtn8 ", receiptsTail});
        row("receipts, header adding", "Form7", "BitBtn1",
            {"ComboBox1 ComboBox2 DateTimePicker1 BitBtn4 BitBtn5 DateTimePicker2 DateTimePicker3 BitBtn11 DBGrid2 ", receiptsTail, " DBGrid1"});
        row("receipts, header editing", "Form7", "BitBtn2",
            {"ComboBox1 ComboBox2 DateTimePicker1 BitBtn4 BitBtn5 DateTimePicker2 DateTimePicker3 BitBtn11 DBGrid2 ", receiptsTail, " DBGrid1"});
        row("receipts, line adding", "Form7", "BitBtn6",
            {"ComboBox3 Edit1 Edit2 BitBtn9 BitBtn10 ", receiptsTail, " DBGrid1 DateTimePicker2 DateTimePicker3 BitBtn11 DBGrid2"});
        row("receipts, line editing", "Form7", "BitBtn7",
            {"ComboBox3 Edit1 Edit2 BitBtn9 BitBtn10 ", receiptsTail, " DBGrid1 DateTimePicker2 DateTimePicker3 BitBtn11 DBGrid2"});
        row("distributions", "Form11", "",
            {"DBGrid1 BitBtn1 BitBtn2 BitBtn3 DateTimePicker2 BitBtn11 DBGrid2 BitBtn6 BitBtn7 BitBtn8 ", receiptsTail});
        row("distributions, header adding", "Form11", "BitBtn1",
            {"ComboBox1 ComboBox2 DateTimePicker1 BitBtn4 BitBtn5 DateTimePicker2 BitBtn11 DBGrid2 ", receiptsTail, " DBGrid1"});
        row("distributions, header editing", "Form11", "BitBtn2",
            {"ComboBox1 ComboBox2 DateTimePicker1 BitBtn4 BitBtn5 DateTimePicker2 BitBtn11 DBGrid2 ", receiptsTail, " DBGrid1"});
        row("distributions, line editing", "Form11", "BitBtn7",
            {"ComboBox3 Edit1 Edit2 BitBtn9 BitBtn10 ", receiptsTail, " DBGrid1 DateTimePicker2 BitBtn11 DBGrid2"});
        row("distributions, line adding", "Form11", "BitBtn6",
            {"ComboBox3 Edit1 Edit2 BitBtn9 BitBtn10 ", receiptsTail, " DBGrid1 DateTimePicker2 BitBtn11 DBGrid2"});

        row("shop audits", "Form14", "", {"DBGrid1 DBGrid2 DateTimePicker2 DateTimePicker3 BitBtn7 BitBtn1 BitBtn2 BitBtn3 BitBtn8 BitBtn6"});
        row("shop audits, adding", "Form14", "BitBtn1",
            {"ComboBox1 Edit1 Edit2 DateTimePicker1 BitBtn4 BitBtn5 BitBtn8 BitBtn6 DBGrid1 DBGrid2 DateTimePicker2 "
            "DateTimePicker3 BitBtn7"});
        row("shop audits, editing", "Form14", "BitBtn2",
            {"ComboBox1 Edit1 Edit2 DateTimePicker1 BitBtn4 BitBtn5 BitBtn8 BitBtn6 DBGrid1 DBGrid2 DateTimePicker2 "
            "DateTimePicker3 BitBtn7"});
        row("base audits", "Form15", "",
            {"DBGrid1 BitBtn1 BitBtn2 BitBtn3 DateTimePicker2 DateTimePicker3 BitBtn13 DBGrid2 BitBtn6 BitBtn7 BitBtn8 BitBtn12 "
            "BitBtn11"});
        row("base audits, header adding", "Form15", "BitBtn1",
            {"ComboBox1 Edit1 DateTimePicker1 BitBtn4 BitBtn5 DateTimePicker2 DateTimePicker3 BitBtn13 DBGrid2 BitBtn12 "
            "BitBtn11 DBGrid1"});
        row("base audits, line adding", "Form15", "BitBtn6",
            {"ComboBox2 Edit2 Edit3 BitBtn9 BitBtn10 BitBtn12 BitBtn11 DBGrid1 DateTimePicker2 DateTimePicker3 BitBtn13 "
            "DBGrid2"});
        row("base audits, header editing", "Form15", "BitBtn2",
            {"ComboBox1 Edit1 DateTimePicker1 BitBtn4 BitBtn5 DateTimePicker2 DateTimePicker3 BitBtn13 DBGrid2 BitBtn12 "
            "BitBtn11 DBGrid1"});
        row("base audits, line editing", "Form15", "BitBtn7",
            {"ComboBox2 Edit2 Edit3 BitBtn9 BitBtn10 BitBtn12 BitBtn11 DBGrid1 DateTimePicker2 DateTimePicker3 BitBtn13 "
            "DBGrid2"});
        // The employee combo box of the revenue is never disabled.
        row("shop revenue: opens in the shops grid", "Form16", "show",
            {"DBGrid1 DBGrid2 DateTimePicker2 DateTimePicker3 BitBtn7 BitBtn1 BitBtn2 BitBtn3 ComboBox1 BitBtn8 BitBtn6"});
        row("shop revenue, adding", "Form16", "BitBtn1",
            {"ComboBox1 Edit1 DateTimePicker1 BitBtn4 BitBtn5 BitBtn8 BitBtn6 DBGrid1 DBGrid2 DateTimePicker2 "
            "DateTimePicker3 BitBtn7"});

        row("shop revenue, editing", "Form16", "BitBtn2",
            {"ComboBox1 Edit1 DateTimePicker1 BitBtn4 BitBtn5 BitBtn8 BitBtn6 DBGrid1 DBGrid2 DateTimePicker2 "
            "DateTimePicker3 BitBtn7"});

        row("base stock", "Form12", "", {"DBGrid1 BitBtn2 BitBtn1"});
        row("shop stock", "Form13", "", {"DBGrid1 DBGrid2 BitBtn1"});
        row("movement history", "MovementHistory", "", {"DBGrid1 BitBtn1"});
    }
    void tabOrder()
    {
        QFETCH(QString, name);
        QFETCH(QString, opener);
        QFETCH(QStringList, order);
        MessageRecorder messages;
        QWidget *shown = windowNamed(name);
        QVERIFY(shown);
        QVERIFY(showActive(*shown));
        if (opener.isEmpty())
            shown->findChild<QWidget *>(order.first())->setFocus(Qt::TabFocusReason);
        else if (opener != u"show")
            press(*shown, opener);
        // Round the whole cycle and back to where it started, then the other way round.
        const QStringList cycle = order + QStringList{order.first()};
        QCOMPARE(walk(order.size()), cycle);
        QCOMPARE(walkBack(order.size()), cycle);
        QVERIFY(messages.requests.isEmpty());
    }

    // Esc closes the open panel (the screens whose Esc presses the panel's cancel button) and the
    // focus goes back to the button that opened it, ready for the next Space.
    void escGivesTheFocusBackToTheOpener_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("opener");
        QTest::addColumn<QString>("accept");
        QTest::addColumn<int>("tabs"); // from the first entry to the control that has the focus at Esc
        QTest::newRow("goods adding, in the second field") << "Form10" << "BitBtn1" << "BitBtn4" << 1;
        QTest::newRow("suppliers editing, in the phone mask") << "Form4" << "BitBtn2" << "BitBtn4" << 2;
        QTest::newRow("receipts, header adding, in the date") << "Form7" << "BitBtn1" << "BitBtn4" << 2;
        QTest::newRow("receipts, line editing, in the goods list") << "Form7" << "BitBtn7" << "BitBtn9" << 0;
        QTest::newRow("distributions, line adding, on Прийняти") << "Form11" << "BitBtn6" << "BitBtn9" << 3;
        QTest::newRow("shop audits, adding, in the date") << "Form14" << "BitBtn1" << "BitBtn4" << 3;
    }
    void escGivesTheFocusBackToTheOpener()
    {
        QFETCH(QString, name);
        QFETCH(QString, opener);
        QFETCH(QString, accept);
        QFETCH(int, tabs);
        MessageRecorder messages;
        QWidget *shown = windowNamed(name);
        QVERIFY(showActive(*shown));
        press(*shown, opener);
        QVERIFY(shown->findChild<QWidget *>(accept)->isEnabled());
        pressTab(tabs);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!shown->findChild<QWidget *>(accept)->isEnabled());
        QCOMPARE(focusName(), opener);
        QVERIFY(messages.requests.isEmpty());
    }
};

COOP_GUI_TEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
