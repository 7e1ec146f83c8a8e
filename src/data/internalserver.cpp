#include "internalserver.h"

#include "databaseerror.h"
#include "datasource.h"
#include "mariadbhandles.h"
#include "programfiles.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace coop {

namespace {

constexpr int MaxSocketPath = 107; // sun_path holds 108 bytes with its terminating NUL
constexpr const char *ReadyMarker = "coop-initialised";
constexpr const char *VersionFile = "coop-server-version";
constexpr int UpgradeTimeoutMs = 600000;

QString currentUser()
{
    if (const passwd *pw = getpwuid(geteuid()))
        return QString::fromLocal8Bit(pw->pw_name);
    return QString::number(geteuid());
}

QString findTool(const QString &name)
{
    const QString found = QStandardPaths::findExecutable(name);
    if (!found.isEmpty())
        return found;
    return QStandardPaths::findExecutable(name, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
}

QString requireTool(const QString &name)
{
    const QString path = findTool(name);
    if (path.isEmpty())
        throw Error(QStringLiteral("The database server program %1 is not installed (Debian package mariadb-server)").arg(name));
    return path;
}

bool processAlive(qint64 pid)
{
    if (pid <= 0)
        return false;
    if (::kill(pid_t(pid), 0) != 0)
        return false;
    // A recycled pid of another program is not our server.
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!cmdline.open(QIODevice::ReadOnly))
        return true;
    const QByteArray command = cmdline.readAll();
    return command.contains("mariadbd") || command.contains("mysqld");
}

QString serverVersion(const QString &mariadbd)
{
    QProcess process;
    process.start(mariadbd, {QStringLiteral("--version")});
    process.waitForFinished(10000);
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

void ensurePrivateDir(const QString &path)
{
    if (!QDir().mkpath(path))
        throw Error(QStringLiteral("Cannot create the directory %1").arg(QDir::toNativeSeparators(path)));
    ::chmod(QFile::encodeName(path).constData(), 0700);
}

} // namespace

InternalServer::Location InternalServer::defaultLocation()
{
    Location location;
    location.dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u'/' + programName();
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty() || !QFileInfo(runtime).isDir())
        location.socketDir = location.dataHome + QStringLiteral("/run");
    else
        location.socketDir = runtime + u'/' + programName() + QStringLiteral("-db");
    return location;
}

InternalServer::InternalServer(Location location, QStringList extraServerOptions)
    : m_location(std::move(location)), m_extraOptions(std::move(extraServerOptions))
{
}

InternalServer::~InternalServer()
{
    try {
        stop();
    } catch (...) {
        // Nothing more can be done for a server that will not stop at exit.
    }
}

QString InternalServer::socketPath() const { return m_location.socketDir + QStringLiteral("/mariadbd.sock"); }
QString InternalServer::dataDir() const { return m_location.dataHome + QStringLiteral("/data"); }
QString InternalServer::pidFile() const { return m_location.dataHome + QStringLiteral("/mariadbd.pid"); }
QString InternalServer::errorLog() const { return m_location.dataHome + QStringLiteral("/mariadbd.err"); }
QString InternalServer::configFile() const { return m_location.dataHome + QStringLiteral("/mariadbd.cnf"); }
bool InternalServer::startedHere() const { return m_process != nullptr; }

qint64 InternalServer::serverPid() const
{
    QFile file(pidFile());
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return file.readAll().trimmed().toLongLong();
}

ConnectTarget InternalServer::administrator(unsigned timeoutSeconds) const
{
    ConnectTarget target;
    target.socket = socketPath();
    target.user = QStringLiteral("root");
    target.password = QString::fromLatin1(RootPassword);
    target.timeoutSeconds = timeoutSeconds;
    return target;
}

bool InternalServer::answers() const
{
    if (!QFileInfo::exists(socketPath()))
        return false;
    try {
        connectMysql(administrator(2));
        return true;
    } catch (const DatabaseError &error) {
        // 1045: the server answers but refuses the password; it is up all the same.
        return error.code() == 1045;
    }
}

void InternalServer::ensureRunning()
{
    if (startedHere() && m_process->state() == QProcess::Running && answers())
        return;
    if (m_process) {
        // A server of ours that no longer answers (killed, crashed): collect it before starting anew.
        m_process->kill();
        m_process->waitForFinished(5000);
        m_process.reset();
    }
    prepareDirectories();

    if (!answers()) {
        const qint64 pid = serverPid();
        if (processAlive(pid)) {
            // Another start of ours is still coming up on this data directory: wait for it rather
            // than start a second server, which would hang on the directory's lock.
            waitUntilReady(60000);
        } else {
            removeStaleFiles();
            const bool initialised = QFileInfo::exists(dataDir() + u'/' + QLatin1String(ReadyMarker));
            if (!initialised)
                initialiseDataDirectory();
            writeConfig();
            spawn();
            waitUntilReady(120000);
            if (!initialised)
                createDatabase();
            else
                upgradeIfServerChanged();
            addStockJournal();
        }
    }
}

void InternalServer::prepareDirectories()
{
    ensurePrivateDir(m_location.dataHome);
    ensurePrivateDir(m_location.dataHome + QStringLiteral("/tmp"));
    ensurePrivateDir(m_location.socketDir);
    if (QFile::encodeName(socketPath()).size() > MaxSocketPath)
        throw Error(QStringLiteral("The socket path %1 is longer than %2 bytes").arg(socketPath()).arg(MaxSocketPath));
}

void InternalServer::writeConfig() const
{
    QStringList lines = {
        QStringLiteral("[mariadbd]"),
        QStringLiteral("datadir=%1").arg(dataDir()),
        QStringLiteral("socket=%1").arg(socketPath()),
        QStringLiteral("pid-file=%1").arg(pidFile()),
        QStringLiteral("log-error=%1").arg(errorLog()),
        // A private temporary directory: servers being set up side by side in one /tmp have been
        // seen to trip over each other's files.
        QStringLiteral("tmpdir=%1").arg(m_location.dataHome + QStringLiteral("/tmp")),
        QStringLiteral("user=%1").arg(currentUser()),
        QStringLiteral("skip-networking"),
        QStringLiteral("lower-case-table-names=1"),
        QStringLiteral("character-set-server=utf8mb4"),
        QStringLiteral("collation-server=utf8mb4_unicode_ci"),
        QStringLiteral("sql-mode=%1").arg(QLatin1String(SessionSqlMode)),
        QStringLiteral("innodb-buffer-pool-size=128M"),
        QStringLiteral("innodb-log-file-size=48M"),
        QStringLiteral("performance-schema=OFF"),
        QStringLiteral("skip-name-resolve"),
        QStringLiteral("max-allowed-packet=256M"),
    };
    lines += m_extraOptions;
    QFile file(configFile());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Error(QStringLiteral("Cannot write %1: %2").arg(configFile(), file.errorString()));
    file.write(lines.join(u'\n').toLocal8Bit() + '\n');
}

void InternalServer::removeStaleFiles()
{
    // What a crashed server leaves behind would make the next one refuse the socket or the pid.
    QFile::remove(pidFile());
    QFile::remove(socketPath());
    QFile::remove(socketPath() + QStringLiteral(".lock"));
}

void InternalServer::initialiseDataDirectory()
{
    // A directory without the marker is a first start that did not finish: start it over.
    QDir(dataDir()).removeRecursively();
    writeConfig();
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(requireTool(QStringLiteral("mariadb-install-db")),
                  {QStringLiteral("--defaults-file=%1").arg(configFile()), QStringLiteral("--auth-root-authentication-method=normal"),
                   QStringLiteral("--skip-test-db"), QStringLiteral("--user=%1").arg(currentUser())});
    if (!install.waitForFinished(300000) || install.exitStatus() != QProcess::NormalExit || install.exitCode() != 0)
        throw Error(QStringLiteral("The database server's data directory could not be created:\n%1")
                        .arg(QString::fromLocal8Bit(install.readAll()).right(2000)));
}

void InternalServer::spawn()
{
    auto process = std::make_unique<QProcess>();
    process->setProgram(requireTool(QStringLiteral("mariadbd")));
    process->setArguments({QStringLiteral("--defaults-file=%1").arg(configFile())});
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(errorLog(), QIODevice::Append);
    // The server never outlives the program: however the program ends (killed, lost its display),
    // the kernel sends the server SIGTERM, on which it shuts InnoDB down cleanly. The signal follows
    // the thread that started the server, which is the main thread, alive as long as the program.
    process->setChildProcessModifier([parent = ::getpid()] {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) // the program ended before the line above took effect
            ::_exit(127);
    });
    process->start();
    if (!process->waitForStarted(30000))
        throw Error(QStringLiteral("The database server could not be started: %1").arg(process->errorString()));
    m_process = std::move(process);
}

void InternalServer::waitUntilReady(int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (answers())
            return;
        if (m_process && m_process->state() == QProcess::NotRunning) {
            m_process.reset();
            throw Error(QStringLiteral("The database server stopped while starting:\n%1").arg(logTail()));
        }
        if (!m_process && !processAlive(serverPid()))
            break;
        if (m_process)
            m_process->waitForFinished(100);
        else
            QThread::msleep(100);
    }
    throw Error(QStringLiteral("The database server did not become ready:\n%1").arg(logTail()));
}

void InternalServer::createDatabase()
{
    // A fresh data directory has a root without a password; an earlier attempt may have set it.
    ConnectTarget target = administrator(10);
    target.multiStatements = true;
    target.password.clear();
    MysqlHandle admin;
    try {
        admin = connectMysql(target);
    } catch (const DatabaseError &) {
        target.password = QString::fromLatin1(RootPassword);
        admin = connectMysql(target);
    }
    const QByteArray name = QByteArray("`") + DatabaseName + "`";
    runScript(admin.get(), "DROP DATABASE IF EXISTS " + name + "; CREATE DATABASE " + name
                  + " CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci; USE " + name,
              QStringLiteral("Creating the database"));
    runScript(admin.get(), programFile(QStringLiteral("db/schema.sql")), QStringLiteral("db/schema.sql"));
    runScript(admin.get(), programFile(QStringLiteral("db/demo.sql")), QStringLiteral("db/demo.sql"));
    // The connection dialog proposes root with this password.
    runScript(admin.get(),
              QByteArray("ALTER USER root@localhost IDENTIFIED BY '") + RootPassword + "'; FLUSH PRIVILEGES",
              QStringLiteral("Setting the password"));

    QFile version(dataDir() + u'/' + QLatin1String(VersionFile));
    if (version.open(QIODevice::WriteOnly))
        version.write(serverVersion(requireTool(QStringLiteral("mariadbd"))).toUtf8());
    QFile marker(dataDir() + u'/' + QLatin1String(ReadyMarker));
    if (!marker.open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("Cannot write %1").arg(marker.fileName()));
}

void InternalServer::upgradeIfServerChanged()
{
    m_upgradeFailure.clear();
    const QString mariadbd = requireTool(QStringLiteral("mariadbd"));
    const QString current = serverVersion(mariadbd);
    QFile stored(dataDir() + u'/' + QLatin1String(VersionFile));
    if (stored.open(QIODevice::ReadOnly) && QString::fromUtf8(stored.readAll()) == current)
        return;
    stored.close();
    const QString upgrade = findTool(QStringLiteral("mariadb-upgrade"));
    if (!upgrade.isEmpty()) {
        // The password goes in a private option file, not on a command line that any process can read.
        const QString options = m_location.dataHome + QStringLiteral("/upgrade.cnf");
        QFile file(options);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            file.write(QStringLiteral("[client]\nuser=root\npassword=%1\nsocket=%2\n")
                           .arg(QLatin1String(RootPassword), socketPath())
                           .toLocal8Bit());
            file.close();
            QProcess process;
            process.setProcessChannelMode(QProcess::MergedChannels);
            process.start(upgrade, {QStringLiteral("--defaults-extra-file=%1").arg(options)});
            const QDeadlineTimer deadline(UpgradeTimeoutMs);
            bool timedOut = false;
            while (!process.waitForFinished(100) && process.state() != QProcess::NotRunning) {
                if (deadline.hasExpired()) {
                    timedOut = true;
                    process.kill();
                    process.waitForFinished();
                    break;
                }
                if (m_progress)
                    m_progress(QStringLiteral("Базу даних оновлюють для нової версії сервера MariaDB…"));
            }
            QFile::remove(options);
            if (m_progress)
                m_progress({});
            if (timedOut || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
                // The version stays unrecorded, so the next start tries again.
                const QString words = QString::fromLocal8Bit(process.readAll()).trimmed().right(2000);
                m_upgradeFailure = QStringLiteral("Базу даних не оновлено для нової версії сервера MariaDB (mariadb-upgrade %1):\n%2\n"
                                                  "Оновлення повториться під час наступного запуску програми.")
                                       .arg(timedOut ? QStringLiteral("не закінчився за 10 хвилин")
                                                     : QStringLiteral("закінчився з кодом %1").arg(process.exitCode()),
                                            words.isEmpty() ? process.errorString() : words);
                return;
            }
        }
    }
    if (stored.open(QIODevice::WriteOnly | QIODevice::Truncate))
        stored.write(current.toUtf8());
}

void InternalServer::addStockJournal()
{
    // A database made before the stock journal gets it, with its opening rows, at the next start; the
    // script changes nothing where the journal is there already, and writes the demo data's opening
    // rows on the first start.
    ConnectTarget target = administrator(10);
    target.database = QString::fromLatin1(DatabaseName);
    target.multiStatements = true;
    MysqlHandle admin = connectMysql(target);
    runScript(admin.get(), programFile(QStringLiteral("db/upgrade-journal.sql")), QStringLiteral("db/upgrade-journal.sql"));
}

void InternalServer::stop()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        try {
            MysqlHandle admin = connectMysql(administrator(5));
            mysql_query(admin.get(), "SHUTDOWN");
        } catch (const Error &) {
            // Not answering: fall through to the signals.
        }
        if (!m_process->waitForFinished(60000)) {
            m_process->terminate();
            if (!m_process->waitForFinished(20000)) {
                m_process->kill();
                m_process->waitForFinished(5000);
            }
        }
    }
    m_process.reset();
}

QString InternalServer::logTail() const
{
    QFile log(errorLog());
    if (!log.open(QIODevice::ReadOnly))
        return QStringLiteral("(no error log at %1)").arg(errorLog());
    const qint64 size = log.size();
    log.seek(std::max<qint64>(0, size - 3000));
    return QString::fromLocal8Bit(log.readAll()).trimmed();
}

} // namespace coop
