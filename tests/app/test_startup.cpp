#include "app/program.h"
#include "support/guitestmain.h"
#include "support/messagerecorder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace coop;

// Start-up against a data source whose server is not there: one box, no window, exit code 1.
class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void unreachableServer()
    {
        QTemporaryDir config;
        const QString dir = config.path() + QStringLiteral("/test_startup");
        QVERIFY(QDir().mkpath(dir));
        QFile ini(dir + QStringLiteral("/datasources.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[MyDB3]\nSocket=" + config.path().toUtf8() + "/absent.sock\nDatabase=190400\nUser=root\nPassword=\n");
        ini.close();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));

        MessageRecorder messages;
        QCOMPARE(runProgram(), 1);
        QCOMPARE(messages.requests.size(), 1);
        const MessageRequest &box = messages.requests.first();
        QCOMPARE(box.caption, QStringLiteral("Application Error"));
        QCOMPARE(box.icon, MessageIcon::Error);
        QCOMPARE(box.buttons, MessageButtons(MessageButton::Ok));
        QVERIFY2(box.text.contains(QStringLiteral("absent.sock")), qPrintable(box.text));
        for (QWidget *window : QApplication::topLevelWidgets())
            QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }
};

COOP_GUI_TEST_MAIN(TestStartup)
#include "test_startup.moc"
