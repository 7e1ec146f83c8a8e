#include "data/databaseerror.h"
#include "support/guitestmain.h"
#include "support/messagerecorder.h"
#include "widgets/application.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

using namespace coop;

class TestErrorBox : public QObject
{
    Q_OBJECT

private slots:
    void fullStopRule_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "Access denied" << "Access denied.";
        QTest::newRow("digit") << "Error 1045" << "Error 1045.";
        QTest::newRow("cyrillic") << "Помилка" << "Помилка.";
        QTest::newRow("quote after dot") << "Table 'x' doesn't exist" << "Table 'x' doesn't exist.";
        QTest::newRow("slash comes after dot") << "a/" << "a/.";
        QTest::newRow("full stop") << "Done." << "Done.";
        QTest::newRow("exclamation") << "Stop!" << "Stop!";
        QTest::newRow("quote comes before dot") << "in 'field list'" << "in 'field list'";
        QTest::newRow("parenthesis") << "List index out of bounds (3)" << "List index out of bounds (3)";
        QTest::newRow("hyphen comes before dot") << "value -" << "value -";
        QTest::newRow("trailing blank") << "text " << "text ";
        QTest::newRow("empty") << "" << "";
    }
    void fullStopRule()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(errorBoxText(text), shown);
    }

    void titleIsTheProgramFileName_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("title");
        QTest::newRow("lower case stays") << "myrolan" << "myrolan";
        QTest::newRow("first character kept") << "MYROLAN.EXE" << "Myrolan";
        QTest::newRow("up to the first dot") << "Myrolan.bin.old" << "Myrolan";
        QTest::newRow("rest lowered") << "mYROLAN" << "myrolan";
        QTest::newRow("cyrillic") << "МИРОЛАН.exe" << "Миролан";
        QTest::newRow("dot first") << ".myrolan" << "";
    }
    void titleIsTheProgramFileName()
    {
        QFETCH(QString, file);
        QFETCH(QString, title);
        QCOMPARE(applicationTitleOf(file), title);
    }

    void titleOfThisProgram()
    {
        QCOMPARE(applicationTitle(), QStringLiteral("test_errorbox"));
    }

    // The toolkit appends a display name to every window's title where one is set: none is.
    void windowTitlesCarryNoApplicationName()
    {
        QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    }

    // The real boxes, as the user sees them: the caption is the whole title.
    void realBoxesAreTitledWithTheirCaptions()
    {
        QStringList seen;
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, &answer, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                seen << box->windowTitle() + u'|' + box->windowHandle()->title();
                box->button(QMessageBox::Ok)->click();
            }
        });
        answer.start(10);
        showErrorBox(QStringLiteral("Access denied"));
        messageBox(QStringLiteral("Помилка!!!"), QStringLiteral("Microsoft Ecxel не інстальований, або виникла інша помилка."),
                   MessageButton::Ok, MessageIcon::Exclamation);
        showMessage(QStringLiteral("Готово"));
        QCOMPARE(seen, QStringList({QStringLiteral("test_errorbox|test_errorbox"), QStringLiteral("Помилка!!!|Помилка!!!"), QStringLiteral("test_errorbox|test_errorbox")}));
    }

    // An error that a click handler lets out is shown once, with the title, the error icon and the
    // full stop; the handler's later steps do not run and the application goes on.
    void handlerErrorGoesToTheBox()
    {
        MessageRecorder messages;
        QPushButton button(QStringLiteral("Go"));
        bool laterStepRan = false;
        QObject::connect(&button, &QPushButton::clicked, &button, [&] {
            throw DatabaseError(QStringLiteral("Table '190400.tovary' doesn't exist"), 1146);
            laterStepRan = true;
        });
        button.show();
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(messages.requests.size(), 1);
        const MessageRequest &box = messages.requests.first();
        QCOMPARE(box.kind, MessageKind::ErrorBox);
        QCOMPARE(box.caption, applicationTitle());
        QCOMPARE(box.text, QStringLiteral("Table '190400.tovary' doesn't exist."));
        QCOMPARE(box.icon, MessageIcon::Error);
        QCOMPARE(box.buttons, MessageButtons(MessageButton::Ok));
        QVERIFY(!laterStepRan);

        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(messages.requests.size(), 2);
    }

    void runHandlerStopsAtTheError()
    {
        MessageRecorder messages;
        QStringList steps;
        const bool ok = runHandler([&] {
            steps << QStringLiteral("first");
            throw Error(QStringLiteral("'abc' is not a valid floating point value"));
            steps << QStringLiteral("second");
        });
        QVERIFY(!ok);
        QCOMPARE(steps, QStringList{QStringLiteral("first")});
        QCOMPARE(messages.requests.size(), 1);
        QCOMPARE(messages.requests.first().text, QStringLiteral("'abc' is not a valid floating point value."));
        QVERIFY(runHandler([&] { steps << QStringLiteral("again"); }));
        QCOMPARE(messages.requests.size(), 1);
    }
};

COOP_GUI_TEST_MAIN(TestErrorBox)
#include "test_errorbox.moc"
