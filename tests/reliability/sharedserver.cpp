#include "sharedserver.h"

#include "data/databaseerror.h"
#include "data/programfiles.h"
#include "sqlhelpers.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QString findTool(const QString &name)
{
    const QString found = QStandardPaths::findExecutable(name);
    return found.isEmpty() ? QStandardPaths::findExecutable(name, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")}) : found;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw coop::Error(QStringLiteral("cannot read %1").arg(path));
    return file.readAll();
}

// A port nobody listens on now on 127.0.0.1; the server takes it a moment later.
unsigned freeLoopbackPort()
{
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    const bool bound = probe >= 0 && ::bind(probe, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
                       && ::getsockname(probe, reinterpret_cast<sockaddr *>(&address), &length) == 0;
    if (probe >= 0)
        ::close(probe);
    if (!bound)
        throw coop::Error(QStringLiteral("no free port on 127.0.0.1"));
    return ntohs(address.sin_port);
}

} // namespace

SharedServer::SharedServer(QStringList serverOptions) : m_options(std::move(serverOptions)) {}

SharedServer::~SharedServer() { stop(); }

void SharedServer::start()
{
    if (!m_dir.isValid())
        throw coop::Error(QStringLiteral("no temporary directory"));
    m_port = freeLoopbackPort();
    const passwd *pw = getpwuid(geteuid());
    const QString user = pw ? QString::fromLocal8Bit(pw->pw_name) : QString::number(geteuid());
    // Temporary files of its own: servers starting at once elsewhere do not meet in /tmp.
    QDir().mkpath(m_dir.filePath(QStringLiteral("tmp")));
    const QString config = m_dir.filePath(QStringLiteral("my.cnf"));
    QFile cnf(config);
    if (!cnf.open(QIODevice::WriteOnly))
        throw coop::Error(QStringLiteral("cannot write %1").arg(config));
    cnf.write(QStringLiteral("[mariadbd]\n"
                             "datadir=%1\nsocket=%2\npid-file=%3\nlog-error=%4\nuser=%5\ntmpdir=%7\n"
                             "bind-address=127.0.0.1\nport=%6\nskip-name-resolve\n"
                             "lower-case-table-names=1\ncharacter-set-server=utf8mb4\ncollation-server=utf8mb4_unicode_ci\n"
                             "innodb-buffer-pool-size=128M\ninnodb-flush-log-at-trx-commit=0\ninnodb-doublewrite=0\n"
                             "innodb-lock-wait-timeout=10\nperformance-schema=OFF\nmax-connections=50\n")
                  .arg(m_dir.filePath(QStringLiteral("data")), socketPath(), m_dir.filePath(QStringLiteral("mariadbd.pid")),
                       errorLog(), user)
                  .arg(m_port)
                  .arg(m_dir.filePath(QStringLiteral("tmp")))
                  .toLocal8Bit());
    for (const QString &option : m_options)
        cnf.write(option.toLocal8Bit() + '\n');
    cnf.close();

    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(findTool(QStringLiteral("mariadb-install-db")),
                  {QStringLiteral("--defaults-file=") + config, QStringLiteral("--auth-root-authentication-method=normal"),
                   QStringLiteral("--skip-test-db"), QStringLiteral("--user=") + user});
    if (!install.waitForFinished(120000) || install.exitCode() != 0)
        throw coop::Error(QStringLiteral("mariadb-install-db failed:\n") + QString::fromLocal8Bit(install.readAll()).left(400)
                          + QStringLiteral("\n") + logTail());

    m_server.setProgram(findTool(QStringLiteral("mariadbd")));
    m_server.setArguments({QStringLiteral("--defaults-file=") + config});
    m_server.setStandardOutputFile(QProcess::nullDevice());
    m_server.setStandardErrorFile(errorLog(), QIODevice::Append);
    m_server.start();
    if (!m_server.waitForStarted(30000))
        throw coop::Error(QStringLiteral("mariadbd did not start: ") + m_server.errorString());

    QDeadlineTimer ready(60000);
    coop::MysqlHandle root;
    while (!root) {
        try {
            coop::ConnectTarget target;
            target.socket = socketPath();
            target.user = QStringLiteral("root");
            target.multiStatements = true;
            target.timeoutSeconds = 2;
            root = coop::connectMysql(target);
        } catch (const coop::Error &) {
            if (ready.hasExpired() || m_server.state() == QProcess::NotRunning)
                throw coop::Error(QStringLiteral("the shared server did not become ready:\n") + logTail());
            m_server.waitForFinished(100);
        }
    }

    m_password = QStringLiteral("Clerk;%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    reliability::sqlExec(root.get(), QStringLiteral("CREATE DATABASE `%1` CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci; USE `%1`")
                                         .arg(QLatin1String(Database)));
    coop::runScript(root.get(), coop::programFile(QStringLiteral("db/schema.sql")), QStringLiteral("schema"));
    // The clerks' name over TCP is this account alone: whatever the installation made for it goes.
    for (const QString &account : reliability::sqlRows(root.get(), QStringLiteral("SELECT CONCAT(QUOTE(User), '@', QUOTE(Host)) FROM mysql.user "
                                                                                  "WHERE Host NOT IN ('localhost') AND User IN ('', '%1')")
                                                                       .arg(QLatin1String(ClerkUser))))
        reliability::sqlExec(root.get(), QStringLiteral("DROP USER ") + account);
    reliability::sqlExec(root.get(), QStringLiteral("CREATE USER '%1'@'127.0.0.1' IDENTIFIED BY '%2';"
                                                    "GRANT SELECT, INSERT, UPDATE, DELETE ON `%3`.* TO '%1'@'127.0.0.1'")
                                         .arg(QLatin1String(ClerkUser), m_password, QLatin1String(Database)));
}

void SharedServer::stop()
{
    if (m_server.state() == QProcess::NotRunning)
        return;
    try {
        coop::MysqlHandle root = admin();
        mysql_query(root.get(), "SHUTDOWN");
    } catch (const coop::Error &) {
        // Not answering: the signals below.
    }
    if (!m_server.waitForFinished(30000)) {
        m_server.terminate();
        if (!m_server.waitForFinished(10000)) {
            m_server.kill();
            m_server.waitForFinished(5000);
        }
    }
}

coop::MysqlHandle SharedServer::admin() const
{
    coop::ConnectTarget target;
    target.socket = socketPath();
    target.user = QStringLiteral("root");
    target.database = QLatin1String(Database);
    target.multiStatements = true;
    return coop::connectMysql(target);
}

coop::MysqlHandle SharedServer::clerk() const
{
    coop::ConnectTarget target;
    target.host = QStringLiteral("127.0.0.1");
    target.port = m_port;
    target.user = QLatin1String(ClerkUser);
    target.password = m_password;
    target.database = QLatin1String(Database);
    return coop::connectMysql(target);
}

QString SharedServer::dataSourceText() const
{
    return QStringLiteral("[MyDB3]\nServer=127.0.0.1\nPort=%1\nDatabase=%2\nUser=%3\nPassword=%4\n")
        .arg(m_port)
        .arg(QLatin1String(Database), QLatin1String(ClerkUser), m_password);
}

QString SharedServer::logTail() const { return QString::fromLocal8Bit(readFile(errorLog()).right(3000)); }
