#include "app/form1.h"
#include "app/form2.h"
#include "app/jpegimage.h"
#include "app/windowregistry.h"
#include "audit/form14.h"
#include "audit/form15.h"
#include "movement/form11.h"
#include "movement/form7.h"
#include "revenue/form16.h"
#include "revenue/form22.h"
#include "reference/form10.h"
#include "reference/form3.h"
#include "reference/form4.h"
#include "reference/form5.h"
#include "reference/form8.h"
#include "reference/form9.h"
#include "reference/form6.h"
#include "stock/form12.h"
#include "stock/form13.h"
#include "data/databaseerror.h"
#include "data/internalserver.h"
#include "data/query.h"
#include "support/controls.h"
#include "support/guitestmain.h"
#include "support/messagerecorder.h"
#include "support/testdatabase.h"

#include <QFile>
#include <QScopeGuard>
#include <QWindow>
#include <QToolButton>

#include <memory>

using namespace coop;

namespace {

const QStringList StoredParams = {QStringLiteral("USER NAME=root")};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<WindowRegistry> m_windows;
    ShowModalFunction m_previous;
    // What the connection dialog's "user" does while it is shown; the modal result is the answer.
    std::function<void(TForm2 &)> m_dialogUser;
    int m_dialogShows = 0;

    TForm1 &form1() { return m_windows->form1(); }
    TForm2 &form2() { return m_windows->form2(); }

    void press(Qt::Key key, QWidget *window)
    {
        QApplication::setActiveWindow(window);
        QTest::keyClick(window, key, Qt::ControlModifier);
    }

private slots:
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        m_windows = std::make_unique<WindowRegistry>();
        m_dialogUser = nullptr;
        m_dialogShows = 0;
        m_previous = setShowModalFunction([this](QDialog &dialog) {
            dialog.show();
            if (&dialog == &form2()) {
                ++m_dialogShows;
                if (m_dialogUser)
                    m_dialogUser(form2());
            }
            return dialog.result();
        });
        form1().show();
    }
    void cleanup()
    {
        setShowModalFunction(std::move(m_previous));
        m_windows.reset();
        m_db.reset();
    }

    void createsEveryWindowOnceInOrder()
    {
        QStringList names;
        for (QObject *window : m_windows->windows())
            names << window->objectName();
        QStringList expected;
        for (int i = 1; i <= 16; ++i)
            expected << QStringLiteral("Form%1").arg(i);
        for (int i = 17; i <= 21; ++i)
            expected << QStringLiteral("QuickReport%1").arg(i);
        expected << QStringLiteral("Form22");
        QCOMPARE(names, expected);
        QVERIFY(form1().Database1.connected());
        QCOMPARE(form1().Database1.params(), StoredParams);
        for (QObject *window : m_windows->windows())
            if (auto *widget = qobject_cast<QWidget *>(window); widget && widget != &form1())
                QVERIFY2(!widget->isVisible(), qPrintable(window->objectName()));
    }

    // Each title bar reads the window's caption and nothing else: no application name appended.
    void everyWindowIsTitledWithItsCaption()
    {
        const QMap<QString, QString> captions = {
            {QStringLiteral("Form1"), QStringLiteral("Інформаційна система Мироланського споживчого товариства")},
            {QStringLiteral("Form2"), QStringLiteral("Під'єднання")}, {QStringLiteral("Form3"), QStringLiteral("Співробітники")}, {QStringLiteral("Form4"), QStringLiteral("Постачальники")},
            {QStringLiteral("Form5"), QStringLiteral("Пошук")}, {QStringLiteral("Form6"), QStringLiteral("Фільтрація")}, {QStringLiteral("Form7"), QStringLiteral("Надходження товарів")},
            {QStringLiteral("Form8"), QStringLiteral("Відділи")}, {QStringLiteral("Form9"), QStringLiteral("Магазини")}, {QStringLiteral("Form10"), QStringLiteral("Товари")},
            {QStringLiteral("Form11"), QStringLiteral("Розподіл між магазинами")}, {QStringLiteral("Form12"), QStringLiteral("Склад")}, {QStringLiteral("Form13"), QStringLiteral("Наявність в магазині")},
            {QStringLiteral("Form14"), QStringLiteral("Ревізія магазинів")}, {QStringLiteral("Form15"), QStringLiteral("Ревізія бази")}, {QStringLiteral("Form16"), QStringLiteral("Виручка магазинів")},
            {QStringLiteral("Form22"), QStringLiteral("Аналіз виручки")},
        };
        int titled = 0;
        for (QObject *window : m_windows->windows()) {
            auto *widget = qobject_cast<QWidget *>(window);
            if (!widget || !captions.contains(window->objectName()))
                continue;
            widget->show();
            QCOMPARE(widget->windowTitle(), captions.value(window->objectName()));
            QVERIFY(widget->windowHandle());
            QCOMPARE(widget->windowHandle()->title(), captions.value(window->objectName()));
            ++titled;
            if (widget != &form1())
                widget->hide();
        }
        QCOMPARE(titled, captions.size());
        QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    }

    void storedOpenQueriesAreOpenAfterCreation_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("query");
        QTest::addColumn<bool>("open");
        QTest::newRow("receipts headers") << "Form7" << "Query1" << true;
        QTest::newRow("receipts lines") << "Form7" << "Query3" << true;
        QTest::newRow("receipts runner") << "Form7" << "Query2" << false;
        QTest::newRow("receipts header runner") << "Form7" << "Query6" << false;
        QTest::newRow("distribution headers") << "Form11" << "Query1" << true;
        QTest::newRow("distribution lines") << "Form11" << "Query3" << true;
        QTest::newRow("employees") << "Form3" << "Query1" << true;
        QTest::newRow("employees' department list") << "Form3" << "Query6" << true;
        QTest::newRow("employees' shop list") << "Form3" << "Query7" << true;
        QTest::newRow("employees' runner") << "Form3" << "Query2" << false;
        QTest::newRow("suppliers") << "Form4" << "Query1" << true;
        QTest::newRow("departments") << "Form8" << "Query1" << true;
        QTest::newRow("shops") << "Form9" << "Query1" << true;
        QTest::newRow("goods") << "Form10" << "Query1" << true;
        QTest::newRow("goods runner") << "Form10" << "Query2" << false;
        QTest::newRow("base stock") << "Form12" << "Query1" << true;
        QTest::newRow("shop audits: shops") << "Form14" << "Query1" << true;
        QTest::newRow("shop audits: lines") << "Form14" << "Query2" << true;
        QTest::newRow("base audits: headers") << "Form15" << "Query1" << true;
        QTest::newRow("base audits: lines") << "Form15" << "Query3" << true;
        QTest::newRow("revenue: shops") << "Form16" << "Query1" << true;
        QTest::newRow("revenue: entries") << "Form16" << "Query3" << true;
        QTest::newRow("shops of the shop stock") << "Form13" << "Query1" << true;
        QTest::newRow("stock of the first shop") << "Form13" << "Query3" << true;
    }
    void storedOpenQueriesAreOpenAfterCreation()
    {
        QFETCH(QString, window);
        QFETCH(QString, query);
        QFETCH(bool, open);
        QObject *found = nullptr;
        for (QObject *w : m_windows->windows())
            if (w->objectName() == window)
                found = w->findChild<Query *>(query);
        QVERIFY2(found, qPrintable(window + u'.' + query));
        QCOMPARE(static_cast<Query *>(found)->active(), open);
    }

    void afterScrollRanOnceForTheFirstRows()
    {
        // The demo cooperative: the receipts screen shows the first receipt's lines, and the shop stock
        // screen's stock query carries the first shop's condition, loaded before its own stored open.
        m_windows.reset();
        m_db = std::make_unique<TestDatabase>(true);
        m_windows = std::make_unique<WindowRegistry>();
        const TForm7 &receipts = m_windows->form7();
        QCOMPARE(receipts.Query3->sql().count(), 4);
        QCOMPARE(receipts.Query3->sql()[3], QStringLiteral("and chonadishlo.IdNadhodgennya=")
                                                 + receipts.Query1->fieldByName(QStringLiteral("id"))->asString());
        const TForm13 &shops = m_windows->form13();
        QCOMPARE(shops.Query3->sql()[3], QStringLiteral("and nayavnistvmagazuni.Idmagazuny=")
                                              + shops.Query1->fieldByName(QStringLiteral("id"))->asString());
        QVERIFY(!shops.Query3->isEmpty());
    }

    void destroysTheMainWindowLastAndClosesTheConnection()
    {
        QStringList destroyed;
        for (QObject *window : m_windows->windows())
            connect(window, &QObject::destroyed, this, [&destroyed, name = window->objectName()] { destroyed << name; });
        bool closedWhileOthersExist = false;
        connect(&form1().Database1, &Database::connectedChanged, this,
                [&](bool connected) { closedWhileOthersExist = !connected && destroyed.size() == 21; });
        m_windows.reset();
        QCOMPARE(destroyed.size(), 22);
        QCOMPARE(destroyed.first(), QStringLiteral("Form22"));
        QCOMPARE(destroyed.last(), QStringLiteral("Form1"));
        QVERIFY(closedWhileOthersExist);
    }

    void shortcutsOpenTheirScreens_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("opens");
        QTest::newRow("Ctrl+C employees") << int(Qt::Key_C) << "Form3";
        QTest::newRow("Ctrl+D suppliers") << int(Qt::Key_D) << "Form4";
        QTest::newRow("Ctrl+E departments") << int(Qt::Key_E) << "Form8";
        QTest::newRow("Ctrl+F shops") << int(Qt::Key_F) << "Form9";
        QTest::newRow("Ctrl+G goods") << int(Qt::Key_G) << "Form10";
        QTest::newRow("Ctrl+H receipts") << int(Qt::Key_H) << "Form7";
        QTest::newRow("Ctrl+I distribution") << int(Qt::Key_I) << "Form11";
        QTest::newRow("Ctrl+J shop stock, not shop audits") << int(Qt::Key_J) << "Form13";
        QTest::newRow("Ctrl+K base audits") << int(Qt::Key_K) << "Form15";
        QTest::newRow("Ctrl+L nothing") << int(Qt::Key_L) << "";
    }
    void shortcutsOpenTheirScreens()
    {
        QFETCH(int, key);
        QFETCH(QString, opens);
        press(Qt::Key(key), &form1());
        QStringList open;
        for (QObject *window : m_windows->windows())
            if (auto *widget = qobject_cast<QWidget *>(window); widget && widget != &form1() && widget->isVisible())
                open << window->objectName();
        QCOMPARE(open, opens.isEmpty() ? QStringList() : QStringList{opens});
    }

    void bothCtrlJItemsShowTheKey()
    {
        QCOMPARE(control<QAction>(form1(), "N13")->shortcut(), QKeySequence(QStringLiteral("Ctrl+J")));
        QVERIFY(control<QAction>(form1(), "N15")->text().endsWith(QStringLiteral("\tCtrl+J")));
        control<QAction>(form1(), "N15")->trigger();
        QVERIFY(m_windows->form14().isVisible());
    }

    void noMainShortcutActsWhileAScreenIsOpen()
    {
        press(Qt::Key_C, &form1());
        Screen &employees = m_windows->form3();
        QVERIFY(employees.isVisible());
        QCOMPARE(QApplication::activeModalWidget(), &employees);
        for (Qt::Key key : {Qt::Key_J, Qt::Key_D, Qt::Key_A, Qt::Key_B}) {
            press(key, &employees);
            press(key, &form1());
        }
        QVERIFY(!m_windows->form13().isVisible());
        QVERIFY(!m_windows->form4().isVisible());
        QCOMPARE(m_dialogShows, 0);
        QVERIFY(form1().Database1.connected());
        // Closing the screen gives the keys back to the main window.
        employees.close();
        press(Qt::Key_J, &form1());
        QVERIFY(m_windows->form13().isVisible());
    }

    void toolButtonsShowTheirTipsAndOpenTheirScreens_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<QString>("opens");
        QTest::newRow("1") << 0 << "Надходження товарів" << "Form7";
        QTest::newRow("3") << 1 << "Розподіл між магазинами" << "Form11";
        QTest::newRow("5") << 2 << "наявність в магазині" << "Form13";
        QTest::newRow("7") << 3 << "Ревізія бази" << "Form15";
        QTest::newRow("9") << 4 << "Ревізія магазинів" << "Form14";
        QTest::newRow("11") << 5 << "Склад" << "Form12";
        QTest::newRow("13") << 6 << "Виручка" << "Form16";
    }
    void toolButtonsShowTheirTipsAndOpenTheirScreens()
    {
        QFETCH(int, button);
        QFETCH(QString, tip);
        QFETCH(QString, opens);
        QList<QToolButton *> buttons;
        for (QAction *action : control<QToolBar>(form1(), "ToolBar1")->actions())
            if (!action->isSeparator())
                buttons << qobject_cast<QToolButton *>(control<QToolBar>(form1(), "ToolBar1")->widgetForAction(action));
        QCOMPARE(buttons.size(), 7);
        QToolButton *tool = buttons.at(button);
        QCOMPARE(tool->toolTip(), tip);
        QCOMPARE(tool->size(), QSize(36, 31));
        QCOMPARE(tool->toolButtonStyle(), Qt::ToolButtonIconOnly);
        QVERIFY(!tool->icon().pixmap(QSize(16, 16)).isNull());
        QTest::mouseClick(tool, Qt::LeftButton);
        QWidget *screen = nullptr;
        for (QObject *window : m_windows->windows())
            if (window->objectName() == opens)
                screen = qobject_cast<QWidget *>(window);
        QVERIFY(screen && screen->isVisible());
    }

    void pictureFillsTheAreaBelowTheToolBar()
    {
        QCOMPARE(control<QLabel>(form1(), "Image1")->pixmap().size(), QSize(1920, 1200));
        for (QSize size : {QSize(735, 518), QSize(1000, 400)}) {
            form1().resize(size);
            QCoreApplication::sendPostedEvents();
            QVERIFY(control<QLabel>(form1(), "Image1")->hasScaledContents());
            QCOMPARE(control<QLabel>(form1(), "Image1")->geometry(), form1().centralWidget()->rect());
            QCOMPARE(form1().centralWidget()->geometry().top(), control<QToolBar>(form1(), "ToolBar1")->geometry().bottom() + 1);
            QCOMPARE(form1().centralWidget()->geometry().bottom(), form1().rect().bottom());
        }
    }

    void libjpegDecodesThePictureInColour()
    {
        QFile file(QStringLiteral(":/assets/background.jpg")); // the picture the program carries
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QImage picture = decodeJpeg(file.readAll());
        QCOMPARE(picture.size(), QSize(1920, 1200));
        const QColor sky = picture.pixelColor(960, 40);
        const QColor grass = picture.pixelColor(960, 1150);
        QVERIFY(sky.blue() > sky.red());
        QVERIFY(grass.green() > grass.red() && grass.green() > grass.blue());
        QVERIFY_THROWS_EXCEPTION(Error, decodeJpeg(QByteArray("not a picture at all")));
        QVERIFY_THROWS_EXCEPTION(Error, decodeJpeg(file.fileName().toUtf8().left(0)));
    }

    // Each workstation may name its own account in the data source: start-up connects with it, and
    // with root only where the file names none. The connection dialog keeps its own defaults.
    void startUpAccountComesFromTheDataSource_data()
    {
        QTest::addColumn<bool>("namesAUser");
        QTest::newRow("a clerks' account") << true;
        QTest::newRow("no user named") << false;
    }
    void startUpAccountComesFromTheDataSource()
    {
        QFETCH(bool, namesAUser);
        const QString clerk = QStringLiteral("clerk_%1").arg(m_db->name());
        m_db->exec(QStringLiteral("CREATE USER '%1'@'localhost' IDENTIFIED BY 'kasa;1';"
                                  "GRANT SELECT, INSERT, UPDATE, DELETE ON `%2`.* TO '%1'@'localhost'")
                       .arg(clerk, m_db->name()));
        const auto dropClerk = qScopeGuard([&] { m_db->exec(QStringLiteral("DROP USER '%1'@'localhost'").arg(clerk)); });
        m_db->writeDataSource(QStringLiteral("[MyDB3]\nSocket=%1\nDatabase=%2\n").arg(TestDatabase::socketPath(), m_db->name())
                              + (namesAUser ? QStringLiteral("User=%1\nPassword=kasa;1\n").arg(clerk) : QString()));
        m_windows.reset();
        m_windows = std::make_unique<WindowRegistry>();

        MysqlResult result = form1().Database1.select(QStringLiteral("SELECT CURRENT_USER()"));
        QCOMPARE(QString::fromUtf8(mysql_fetch_row(result.get())[0]),
                 (namesAUser ? clerk : QStringLiteral("root")) + QStringLiteral("@localhost"));
        QCOMPARE(form1().Database1.params(), StoredParams);
        QCOMPARE(control<QLineEdit>(form2(), "Edit1")->text(), QStringLiteral("root"));
        // A silent reconnection keeps the account.
        form1().N3Click();
        result = form1().Database1.select(QStringLiteral("SELECT CURRENT_USER()"));
        QVERIFY(QString::fromUtf8(mysql_fetch_row(result.get())[0]).startsWith(namesAUser ? clerk : QStringLiteral("root@")));
        m_windows.reset();
    }

    void connectWhileConnectedDoesNothing()
    {
        press(Qt::Key_A, &form1());
        QCOMPARE(m_dialogShows, 0);
        QCOMPARE(form1().Database1.params(), StoredParams);
        QVERIFY(form1().Database1.connected());
    }

    void disconnectTwice()
    {
        MessageRecorder messages;
        press(Qt::Key_B, &form1());
        QVERIFY(!form1().Database1.connected());
        press(Qt::Key_B, &form1());
        QVERIFY(!form1().Database1.connected());
        QVERIFY(messages.requests.isEmpty());
    }

    void acceptedDialogReplacesTheParams()
    {
        form1().N3Click();
        m_dialogUser = [this](TForm2 &dialog) {
            control<QLineEdit>(dialog, "Edit2")->setText(m_db->name());
            control<QLineEdit>(dialog, "Edit3")->clear();
            QTest::mouseClick(control<QPushButton>(dialog, "BitBtn1"), Qt::LeftButton);
        };
        press(Qt::Key_A, &form1());
        QCOMPARE(m_dialogShows, 1);
        QCOMPARE(form1().Database1.params(),
                 (QStringList{QStringLiteral("USER NAME=root"), QStringLiteral("DATABASE NAME=") + m_db->name(),
                              QStringLiteral("PASSWORD=")}));
        QVERIFY(form1().Database1.connected());
        // The dialog keeps what was typed last.
        QCOMPARE(control<QLineEdit>(form2(), "Edit2")->text(), m_db->name());
        QCOMPARE(control<QLineEdit>(form2(), "Edit3")->text(), QString());
    }

    void failedConnectionShowsTheEngineTextAndKeepsTheLines()
    {
        MessageRecorder messages;
        form1().N3Click();
        m_dialogUser = [](TForm2 &dialog) {
            control<QLineEdit>(dialog, "Edit2")->setText(QStringLiteral("no_such_database"));
            control<QLineEdit>(dialog, "Edit3")->clear();
            QTest::keyClick(&dialog, Qt::Key_Return);
        };
        press(Qt::Key_A, &form1());
        QCOMPARE(messages.requests.size(), 1);
        QCOMPARE(messages.requests.first().kind, MessageKind::ErrorBox);
        QVERIFY2(messages.requests.first().text.contains(QStringLiteral("no_such_database")),
                 qPrintable(messages.requests.first().text));
        QVERIFY(!form1().Database1.connected());
        QCOMPARE(form1().Database1.params().value(1), QStringLiteral("DATABASE NAME=no_such_database"));
        QCOMPARE(form1().Database1.params().size(), 3);
    }

    void dialogLeftWithoutAcceptingChangesNothing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Відмінити") << "cancel";
        QTest::newRow("Esc") << "escape";
        QTest::newRow("close box") << "close";
    }
    void dialogLeftWithoutAcceptingChangesNothing()
    {
        QFETCH(QString, how);
        form1().N3Click();
        m_dialogUser = [how](TForm2 &dialog) {
            control<QLineEdit>(dialog, "Edit1")->setText(QStringLiteral("clerk"));
            if (how == u"cancel")
                QTest::mouseClick(control<QPushButton>(dialog, "BitBtn2"), Qt::LeftButton);
            else if (how == u"escape")
                QTest::keyClick(control<QLineEdit>(dialog, "Edit1"), Qt::Key_Escape);
            else
                dialog.close();
        };
        press(Qt::Key_A, &form1());
        QCOMPARE(m_dialogShows, 1);
        QVERIFY(!form2().isVisible());
        QCOMPARE(form2().result(), int(mrCancel));
        QCOMPARE(form1().Database1.params(), StoredParams);
        QVERIFY(!form1().Database1.connected());
    }

    void exitClosesTheMainWindowWithoutAQuestion()
    {
        MessageRecorder messages;
        control<QAction>(form1(), "N19")->trigger();
        QVERIFY(!form1().isVisible());
        QVERIFY(messages.requests.isEmpty());
    }
};

COOP_GUI_TEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
