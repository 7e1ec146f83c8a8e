// Every handler runs on the one error path: an error thrown from a catalog button, a menu command
// or a header scroll reaches the error box, and the handler's remaining steps are skipped. The test
// runs under a plain QApplication, which catches nothing: an error that unwound through the
// toolkit's signal dispatch would end the test instead of reaching the box.
#include "app/form1.h"
#include "app/form2.h"
#include "app/windowregistry.h"
#include "data/query.h"
#include "movement/form7.h"
#include "reference/form10.h"
#include "screens/editmode.h"
#include "support/controls.h"
#include "support/messagerecorder.h"
#include "support/testdatabase.h"
#include "widgets/dbgrid.h"
#include "widgets/screen.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <functional>
#include <memory>

using namespace coop;

class TestErrorPath : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<WindowRegistry> m_windows;
    ShowModalFunction m_previous;
    // What the connection dialog's "user" does; answers its modal result.
    std::function<int(QDialog &)> m_dialogUser;

    TForm1 &form1() { return m_windows->form1(); }

    static void click(QObject &window, const char *button)
    {
        QTest::mouseClick(control<QAbstractButton>(window, button), Qt::LeftButton);
    }
    static QList<MessageKind> kinds(const MessageRecorder &messages)
    {
        QList<MessageKind> out;
        for (const MessageRequest &request : messages.requests)
            out << request.kind;
        return out;
    }

private slots:
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        m_db->exec(QStringLiteral(
            "INSERT INTO postachalnuku (Id, NazvaPostachalnuka) VALUES (1, 'Зоря');"
            "INSERT INTO spivrobitnuku (Id, PIB) VALUES (2, 'Іваненко');"
            "INSERT INTO tovary (Id, NazvaTovary, MarkaTovary) VALUES (4, 'Сіль', 'Артем');"
            "INSERT INTO nadhodgennya VALUES (10, 1, 2, '2011-05-10'), (11, 1, 2, '2011-05-11');"
            "INSERT INTO chonadishlo (Id, IdTovary, IdNadhodgennya, Kilkist, Cina) VALUES (40, 4, 10, 1, 1)"));
        m_windows = std::make_unique<WindowRegistry>();
        m_dialogUser = nullptr;
        // Every window shows without a nested event loop; the connection dialog is answered.
        m_previous = setShowModalFunction([this](QDialog &dialog) {
            dialog.show();
            if (m_dialogUser && &dialog == &m_windows->form2())
                return m_dialogUser(dialog);
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

    // "Прийняти" of the goods screen with a name longer than its column: the server refuses the
    // insert; the panel stays open with what was typed and the grid is not read again.
    void catalogButton()
    {
        control<QAction>(form1(), "N9")->trigger();
        TForm10 &goods = m_windows->form10();
        QVERIFY(goods.isVisible());
        click(goods, "BitBtn1");
        const QString tooLong(41, u'я');
        control<QLineEdit>(goods, "Edit1")->setText(tooLong);
        control<QLineEdit>(goods, "Edit2")->setText(QStringLiteral("Марка"));
        form1().Database1.setStatementLogging(true);
        MessageRecorder messages;
        click(goods, "BitBtn4");
        QCOMPARE(kinds(messages), QList<MessageKind>{MessageKind::ErrorBox});
        QVERIFY2(messages.requests.first().text.contains(QStringLiteral("too long")),
                 qPrintable(messages.requests.first().text));
        QVERIFY(control<QAbstractButton>(goods, "BitBtn4")->isEnabled());
        QCOMPARE(control<QLineEdit>(goods, "Edit1")->text(), tooLong);
        QCOMPARE(goods.tag(), EditMode::Insert);
        const QStringList sent = form1().Database1.statementLog();
        QCOMPARE(sent.size(), 1);
        QVERIFY(sent.first().startsWith(QStringLiteral("INSERT INTO tovary")));
    }

    // Connecting to a database that does not exist: the engine's text in the error box, the
    // connection stays closed, and the next command works.
    void menuCommand()
    {
        control<QAction>(form1(), "N3")->trigger();
        m_dialogUser = [](QDialog &dialog) {
            control<QLineEdit>(dialog, "Edit2")->setText(QStringLiteral("no_such_database"));
            control<QLineEdit>(dialog, "Edit3")->clear();
            dialog.done(mrYes);
            return dialog.result();
        };
        MessageRecorder messages;
        control<QAction>(form1(), "N2")->trigger();
        QCOMPARE(kinds(messages), QList<MessageKind>{MessageKind::ErrorBox});
        QVERIFY2(messages.requests.first().text.contains(QStringLiteral("no_such_database")),
                 qPrintable(messages.requests.first().text));
        QVERIFY(!form1().Database1.connected());

        const QString database = m_db->name();
        m_dialogUser = [database](QDialog &dialog) {
            control<QLineEdit>(dialog, "Edit2")->setText(database);
            control<QLineEdit>(dialog, "Edit3")->clear();
            dialog.done(mrYes);
            return dialog.result();
        };
        control<QAction>(form1(), "N2")->trigger();
        QCOMPARE(messages.requests.size(), 1);
        QVERIFY(form1().Database1.connected());
    }

    // The receipts' lines table gone from under the screen: a click on another header runs the
    // header query's AfterScroll, whose reading of the lines fails; the header moved, the lines
    // stay closed. A button that reopens the headers stops at the same error: the header is
    // written once, and the panel, its write taken, is closed all the same.
    void headerScroll()
    {
        control<QAction>(form1(), "N11")->trigger();
        TForm7 &receipts = m_windows->form7();
        QVERIFY(receipts.isVisible());
        QVERIFY(receipts.Query3->active());
        m_db->exec(QStringLiteral("RENAME TABLE chonadishlo TO chonadishlo_away"));

        MessageRecorder messages;
        auto *grid = control<DBGrid>(receipts, "DBGrid1");
        grid->setCurrentIndex(grid->model()->index(1, 1));
        QCOMPARE(kinds(messages), QList<MessageKind>{MessageKind::ErrorBox});
        QVERIFY2(messages.requests.first().text.contains(QStringLiteral("doesn't exist")),
                 qPrintable(messages.requests.first().text));
        QCOMPARE(receipts.Query1->recNo(), 1);
        QVERIFY(!receipts.Query3->active());

        messages.requests.clear();
        form1().Database1.setStatementLogging(true);
        click(receipts, "BitBtn2"); // "Редагувати" the current header
        QVERIFY(control<QAbstractButton>(receipts, "BitBtn4")->isEnabled());
        click(receipts, "BitBtn4");
        QCOMPARE(kinds(messages), QList<MessageKind>{MessageKind::ErrorBox});
        QVERIFY(form1().Database1.statementLog().filter(QStringLiteral("UPDATE nadhodgennya")).size() == 1);
        QVERIFY(!control<QAbstractButton>(receipts, "BitBtn4")->isEnabled());
        QVERIFY(control<QAbstractButton>(receipts, "BitBtn1")->isEnabled());
        QCOMPARE(receipts.tag(), EditMode::Update);
    }
};

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    TestErrorPath test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_errorpath.moc"
