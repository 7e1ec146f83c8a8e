// The connection's security: the internal server listens on no TCP port and keeps its socket and
// data in directories only their owner may enter; a shared server is reached on loopback here; the
// connection password appears in no message, statement log, Qt log or server log, whatever goes
// wrong.
#include "data/database.h"
#include "data/databaseerror.h"
#include "data/internalserver.h"
#include "sharedserver.h"
#include "sqlhelpers.h"
#include "support/guitestmain.h"
#include "widgets/application.h"
#include "widgets/messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace coop;
using namespace reliability;

namespace {

// The TCP sockets a process listens on, as "address:port" in the kernel's hexadecimal.
QStringList listeningTcp(qint64 pid)
{
    QSet<QString> inodes;
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QFileInfo &fd : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot)) {
        const QString target = fd.symLinkTarget().section(u'/', -1);
        if (target.startsWith(u"socket:["))
            inodes.insert(target.mid(8).chopped(1));
    }
    QStringList listening;
    for (const char *table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        QFile file{QString::fromLatin1(table)};
        if (!file.open(QIODevice::ReadOnly))
            continue;
        file.readLine(); // the header
        while (!file.atEnd()) {
            const QStringList columns = QString::fromLatin1(file.readLine()).simplified().split(u' ');
            if (columns.size() > 9 && columns[3] == u"0A" && inodes.contains(columns[9]))
                listening << columns[1];
        }
    }
    return listening;
}

int permissions(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return int(info.st_mode & 07777);
}

QStringList g_qtLog;

void keepQtLog(QtMsgType, const QMessageLogContext &, const QString &text) { g_qtLog << text; }

} // namespace

class TestSecurity : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home{QStringLiteral("/tmp/coop-rels-XXXXXX")};
    SharedServer m_shared;
    std::unique_ptr<Database> m_internal;

    QString dataSourceFile() const
    {
        return m_home.filePath(QStringLiteral("config/") + QFileInfo(QCoreApplication::applicationFilePath()).fileName()
                               + QStringLiteral("/datasources.ini"));
    }
    void writeDataSource(const QString &text)
    {
        QDir().mkpath(QFileInfo(dataSourceFile()).path());
        QFile file(dataSourceFile());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toUtf8());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        QDir().mkpath(m_home.filePath(QStringLiteral("run")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("data"))));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("config"))));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_home.filePath(QStringLiteral("run"))));
        try {
            m_shared.start();
        } catch (const Error &error) {
            QFAIL(qPrintable(error.text()));
        }
        m_internal = std::make_unique<Database>(); // no data-source file: the internal server
        m_internal->open();
        QVERIFY(m_internal->internalServer());
    }

    void cleanupTestCase()
    {
        m_internal.reset();
        m_shared.stop();
    }

    // The same look at the kernel's sockets that finds no port on the internal server finds the
    // shared server's, and on loopback only.
    void listeningPorts()
    {
        const QStringList internal = listeningTcp(m_internal->internalServer()->serverPid());
        QCOMPARE(internal, QStringList());
        MysqlHandle admin = connectMysql([&] {
            ConnectTarget target;
            target.socket = m_internal->internalServer()->socketPath();
            target.user = QStringLiteral("root");
            target.password = QString::fromLatin1(InternalServer::RootPassword);
            return target;
        }());
        QCOMPARE(sqlValue(admin.get(), QStringLiteral("SELECT @@skip_networking")), QStringLiteral("1"));

        QFile pidFile(QFileInfo(m_shared.errorLog()).path() + QStringLiteral("/mariadbd.pid"));
        QVERIFY(pidFile.open(QIODevice::ReadOnly));
        const QStringList shared = listeningTcp(pidFile.readAll().trimmed().toLongLong());
        QCOMPARE(shared, QStringList(QStringLiteral("0100007F:%1").arg(m_shared.port(), 4, 16, QLatin1Char('0')).toUpper()));
    }

    void privateDirectories_data()
    {
        QTest::addColumn<QString>("what");
        QTest::newRow("socket directory") << "socket";
        QTest::newRow("data directory") << "data";
    }
    void privateDirectories()
    {
        QFETCH(QString, what);
        const InternalServer &server = *m_internal->internalServer();
        const QString dir = QFileInfo(what == u"socket" ? server.socketPath() : server.dataDir()).path();
        QCOMPARE(QString::number(permissions(dir), 8), QStringLiteral("700"));
    }

    // Whatever goes wrong with a connection, its password is in none of the texts the clerk or a log
    // is given.
    void passwordNeverShown_data()
    {
        QTest::addColumn<QString>("dataSource"); // empty: the internal server
        QTest::addColumn<QString>("password");   // as the connection dialog would pass it, if any
        QTest::addColumn<QString>("secret");
        QTest::addColumn<bool>("connects");
        const QString secret = QStringLiteral("Zx9;Sekret-%1").arg(quintptr(this), 0, 16);
        const QString shared = QStringLiteral("[MyDB3]\nServer=127.0.0.1\nPort=%1\nDatabase=%2\nUser=%3\n")
                                   .arg(m_shared.port())
                                   .arg(QLatin1String(SharedServer::Database), QLatin1String(SharedServer::ClerkUser));
        QTest::newRow("internal server, wrong password from the dialog") << QString() << secret << secret << false;
        QTest::newRow("shared server, wrong password in the file") << shared + QStringLiteral("Password=%1\n").arg(secret) << QString()
                                                                   << secret << false;
        QTest::newRow("shared server, right password") << shared + QStringLiteral("Password=%1\n").arg(m_shared.clerkPassword())
                                                       << QString() << m_shared.clerkPassword() << true;
        QTest::newRow("shared server, right password from the dialog")
            << shared << m_shared.clerkPassword() << m_shared.clerkPassword() << true;
        QTest::newRow("password line without '='") << shared + QStringLiteral("Password %1\n").arg(secret) << QString() << secret << false;
        QTest::newRow("password under a misspelt key") << shared + QStringLiteral("Pasword=%1\n").arg(secret) << QString() << secret << false;
        QTest::newRow("password on a line of its own") << shared + secret + u'\n' << QString() << secret << false;
        QTest::newRow("unreachable port") << QStringLiteral("[MyDB3]\nServer=127.0.0.1\nPort=1\nUser=root\nPassword=%1\n").arg(secret)
                                          << QString() << secret << false;
    }
    void passwordNeverShown()
    {
        QFETCH(QString, dataSource);
        QFETCH(QString, password);
        QFETCH(QString, secret);
        QFETCH(bool, connects);
        QFile::remove(dataSourceFile());
        if (!dataSource.isEmpty())
            writeDataSource(dataSource);

        QList<MessageRequest> messages;
        const MessageFunction previous = setMessageFunction([&](const MessageRequest &request) {
            messages << request;
            return int(mrOk);
        });
        g_qtLog.clear();
        const QtMessageHandler previousHandler = qInstallMessageHandler(keepQtLog);
        bool opened = false;
        {
            Database db;
            db.setStatementLogging(true);
            if (!password.isEmpty())
                db.setParams({QStringLiteral("USER NAME=root"), QStringLiteral("PASSWORD=") + password});
            opened = runHandler([&] {
                db.open();
                db.select(QStringLiteral("SELECT COUNT(*) FROM tovary"));
            });
            QStringList texts = db.statementLog();
            for (const MessageRequest &request : messages)
                texts << request.caption << request.text;
            texts << g_qtLog;
            for (const QString &text : texts)
                QVERIFY2(!text.contains(secret), qPrintable(text));
        }
        qInstallMessageHandler(previousHandler);
        setMessageFunction(previous);
        QFile::remove(dataSourceFile());

        QCOMPARE(opened, connects);
        QCOMPARE(messages.isEmpty(), connects); // a failure is shown, a success is not
        for (const QString &log : {m_shared.errorLog(), m_internal->internalServer()->errorLog()}) {
            QFile serverLog(log);
            QVERIFY2(serverLog.open(QIODevice::ReadOnly), qPrintable(log));
            QVERIFY2(!serverLog.readAll().contains(secret.toUtf8()), qPrintable(log));
        }
    }
};

COOP_GUI_TEST_MAIN(TestSecurity)
#include "test_security.moc"
