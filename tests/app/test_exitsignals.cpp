// The program's private server never outlives the program: ended by a signal it handles (as "Вихід")
// or killed outright, the program leaves no mariadbd on its data directory, the server having shut
// InnoDB down cleanly, and the next start finds every row that was committed.
#include "data/databaseerror.h"
#include "data/internalserver.h"
#include "data/mariadbhandles.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace coop;

class TestExitSignals : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home{QStringLiteral("/tmp/coop-sig-XXXXXX")};

    // Where the program keeps its server, as InternalServer::defaultLocation() works it out in the
    // program's own process.
    InternalServer::Location programLocation() const
    {
        const QString program = QFileInfo(QStringLiteral(COOP_PROGRAM)).fileName();
        return {m_home.filePath(QStringLiteral("data/")) + program, m_home.filePath(QStringLiteral("run/")) + program + QStringLiteral("-db")};
    }
    ConnectTarget administrator() const
    {
        ConnectTarget target;
        target.socket = InternalServer(programLocation()).socketPath();
        target.user = QStringLiteral("root");
        target.password = QString::fromLatin1(InternalServer::RootPassword);
        target.database = QString::fromLatin1(InternalServer::DatabaseName);
        target.timeoutSeconds = 2;
        return target;
    }
    static bool running(qint64 pid)
    {
        if (pid <= 0 || ::kill(pid_t(pid), 0) != 0)
            return false;
        // A server that has ended but is not yet collected by whoever inherited it is gone too.
        QFile status(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!status.open(QIODevice::ReadOnly))
            return true;
        const QByteArray stat = status.readAll();
        return stat.mid(stat.lastIndexOf(") ") + 2, 1) != "Z";
    }
    QByteArray errorLogFrom(qint64 offset) const
    {
        QFile log(InternalServer(programLocation()).errorLog());
        if (!log.open(QIODevice::ReadOnly))
            return {};
        log.seek(offset);
        return log.readAll();
    }

private slots:
    void initTestCase()
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("data"))));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("config"))));
        QDir().mkpath(m_home.filePath(QStringLiteral("run")));
        QFile::setPermissions(m_home.filePath(QStringLiteral("run")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_home.filePath(QStringLiteral("run"))));
        // The first start (data directory, schema, demo data) is made here once; the program then
        // only starts the server.
        InternalServer server(programLocation());
        server.ensureRunning();
        server.stop();
    }

    // A run that failed leaves no server behind it either.
    void cleanup()
    {
        const qint64 server = InternalServer(programLocation()).serverPid();
        QFile command(QStringLiteral("/proc/%1/cmdline").arg(server));
        if (!running(server) || !command.open(QIODevice::ReadOnly) || !command.readAll().contains("mariadbd"))
            return;
        ::kill(pid_t(server), SIGTERM);
        QDeadlineTimer gone(60000);
        while (running(server) && !gone.hasExpired())
            QTest::qWait(100);
    }

    void serverEndsWithTheProgram_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
        QTest::newRow("SIGKILL") << int(SIGKILL);
    }
    void serverEndsWithTheProgram()
    {
        QFETCH(int, signal);
        const InternalServer location(programLocation());
        QProcess program;
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(QStringLiteral(COOP_PROGRAM));
        QVERIFY(program.waitForStarted());

        // Up when the server answers and the program's windows have read the database.
        MysqlHandle connection;
        QDeadlineTimer up(120000);
        while (!connection && !up.hasExpired() && program.state() == QProcess::Running) {
            try {
                connection = connectMysql(administrator());
            } catch (const DatabaseError &) {
                QTest::qWait(200);
            }
        }
        QVERIFY2(connection, "the program's server did not come up");
        const qint64 server = location.serverPid();
        QVERIFY(running(server));
        const QByteArray name = "Сигнал " + QByteArray::number(signal);
        const QByteArray insert = "INSERT INTO tovary (NazvaTovary, MarkaTovary) VALUES ('" + name + "', 'перед сигналом')";
        QCOMPARE(mysql_query(connection.get(), insert.constData()), 0);
        connection.reset();
        QTest::qWait(1000); // the program is in its event loop by now
        const qint64 logSize = QFileInfo(location.errorLog()).size();

        ::kill(pid_t(program.processId()), signal);
        QVERIFY(program.waitForFinished(15000));
        if (signal != SIGKILL) {
            QCOMPARE(program.exitStatus(), QProcess::NormalExit);
            QCOMPARE(program.exitCode(), 0);
        }
        QDeadlineTimer gone(15000);
        while (running(server) && !gone.hasExpired())
            QTest::qWait(100);
        QVERIFY2(!running(server), "mariadbd outlived the program");
        // A clean InnoDB shutdown, not a crash that the next start must recover from.
        QVERIFY2(errorLogFrom(logSize).contains("Shutdown complete"), errorLogFrom(logSize).constData());
    }

    void nextStartFindsEveryCommittedRow()
    {
        InternalServer server(programLocation());
        server.ensureRunning();
        MysqlHandle connection = connectMysql(administrator());
        QCOMPARE(mysql_query(connection.get(), "SELECT COUNT(*) FROM tovary WHERE MarkaTovary = 'перед сигналом'"), 0);
        MysqlResult result(mysql_store_result(connection.get()));
        QCOMPARE(QByteArray(mysql_fetch_row(result.get())[0]), QByteArray("4"));
        connection.reset();
        server.stop();
    }
};

QTEST_GUILESS_MAIN(TestExitSignals)
#include "test_exitsignals.moc"
