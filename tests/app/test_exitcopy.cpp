// The automatic copy at a clean exit from the internal server: written once a day into backups/,
// and a failure shown without keeping the program from ending.
#include "app/exitcopy.h"
#include "app/program.h"
#include "admin/automaticcopies.h"
#include "data/database.h"
#include "data/internalserver.h"
#include "support/guitestmain.h"
#include "support/messagerecorder.h"

#include <QDir>
#include <QMainWindow>
#include <QTimer>
#include <QFile>
#include <QTemporaryDir>

using namespace coop;

class TestExitCopy : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home{QStringLiteral("/tmp/coop-exit-XXXXXX")};

private slots:
    void initTestCase()
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("data"))));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("config"))));
        QDir().mkpath(m_home.filePath(QStringLiteral("run")));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_home.filePath(QStringLiteral("run"))));
    }

    // The program started and closed through its main window, as the clerk closes it.
    void cleanExitWritesTheDayCopy()
    {
        MessageRecorder messages;
        QTimer::singleShot(0, [] {
            for (QWidget *window : QApplication::topLevelWidgets())
                if (qobject_cast<QMainWindow *>(window) && window->isVisible())
                    window->close();
        });
        QCOMPARE(runProgram(), 0);
        QCOMPARE(messages.requests.size(), 0);
        const AutomaticCopies copies(InternalServer::defaultLocation().dataHome);
        QCOMPARE(copies.existing().size(), 1);
        QVERIFY(QFile::remove(copies.existing().first()));
    }

    void onceADayAndFailureShown()
    {
        Database db; // no data-source file: the internal server
        db.setConnected(true);
        const AutomaticCopies copies(InternalServer::defaultLocation().dataHome);
        {
            MessageRecorder messages;
            writeAutomaticCopy(db);
            writeAutomaticCopy(db); // the same day: no second copy
            QCOMPARE(messages.requests.size(), 0);
        }
        QCOMPARE(copies.existing().size(), 1);
        QVERIFY(QFileInfo(copies.existing().first()).size() > 1000);

        // A folder that cannot be written: shown, and the program goes on to its end.
        QVERIFY(QDir(copies.folder()).removeRecursively());
        QVERIFY(QFile(copies.folder()).open(QIODevice::WriteOnly));
        MessageRecorder messages;
        writeAutomaticCopy(db);
        QCOMPARE(messages.requests.size(), 1);
        QVERIFY2(messages.requests.first().text.startsWith(QStringLiteral("Щоденну копію бази даних не записано: ")),
                 qPrintable(messages.requests.first().text));
        QCOMPARE(messages.requests.first().icon, MessageIcon::Error);
        QVERIFY(db.connected());
    }

    // While a restore replaces the database, the program does not start on it.
    void noStartDuringARestore()
    {
        const DataHomeLock restore(InternalServer::defaultLocation().dataHome, DataHomeLock::Mode::Exclusive);
        QVERIFY(restore.isHeld());
        MessageRecorder messages;
        QCOMPARE(runProgram(), 1);
        QCOMPARE(messages.requests.size(), 1);
        QCOMPARE(messages.requests.first().caption, QStringLiteral("Application Error"));
        QVERIFY2(messages.requests.first().text.contains(QStringLiteral("відновлюють з копії")), qPrintable(messages.requests.first().text));
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    // While the program runs on the internal server, a restore is refused; a second program is not.
    void programHoldsTheDataShared()
    {
        const std::unique_ptr<DataHomeLock> first = useInternalData();
        QVERIFY(first && first->isHeld());
        QVERIFY(useInternalData()->isHeld());
        QVERIFY(!DataHomeLock(InternalServer::defaultLocation().dataHome, DataHomeLock::Mode::Exclusive).isHeld());
    }
};

COOP_GUI_TEST_MAIN(TestExitCopy)
#include "test_exitcopy.moc"
