#include "databasecopy.h"

#include "data/databaseerror.h"
#include "dumpcheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <cstdio>

namespace coop {

namespace {

constexpr int Tick = 100;                      // ms between progress calls
constexpr qint64 MaxPending = 8 * 1024 * 1024; // bytes queued for the next process before waiting

QString clientTool(const QString &name)
{
    QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(name, {QStringLiteral("/usr/bin"), QStringLiteral("/bin")});
    if (path.isEmpty())
        throw Error(QStringLiteral("The program %1 is not installed (Debian package %2)")
                        .arg(name, name == QLatin1String("gzip") ? QStringLiteral("gzip") : QStringLiteral("mariadb-client")));
    return path;
}

QString quotedName(const QString &name)
{
    QString quoted = name;
    quoted.replace(u'`', QStringLiteral("``"));
    return u'`' + quoted + u'`';
}

// The client programs get the account in a private option file, never on their command line,
// which every process of the machine can read. --defaults-file keeps /etc/mysql out of it.
class ClientOptions
{
public:
    explicit ClientOptions(const ConnectTarget &target)
    {
        if (!m_dir.isValid())
            throw Error(QStringLiteral("Cannot create a temporary directory: %1").arg(m_dir.errorString()));
        QFile file(path());
        if (!file.open(QIODevice::WriteOnly))
            throw Error(QStringLiteral("Cannot write %1: %2").arg(path(), file.errorString()));
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QByteArray text = "[client]\nuser=" + target.user.toUtf8() + "\npassword=" + target.password.toUtf8() + '\n';
        if (!target.host.isEmpty()) {
            text += "host=" + target.host.section(u',', 0, 0).toUtf8() + "\nprotocol=tcp\n";
            if (target.port)
                text += "port=" + QByteArray::number(target.port) + '\n';
            if (target.tls) { // as the program's own connection: encrypted and verified
                text += "ssl\n";
                if (!target.tlsFingerprint.isEmpty()) {
                    text += "ssl-fp=" + target.tlsFingerprint.toLatin1() + '\n';
                } else {
                    text += "ssl-verify-server-cert\n";
                    if (!target.tlsCa.isEmpty())
                        text += "ssl-ca=" + target.tlsCa.toLocal8Bit() + '\n';
                }
            }
        } else {
            text += "socket=" + target.socket.toUtf8() + "\nprotocol=socket\n";
        }
        text += "default-character-set=utf8mb4\n";
        file.write(text);
    }
    QString path() const { return m_dir.filePath(QStringLiteral("client.cnf")); }
    QString argument() const { return QStringLiteral("--defaults-file=") + path(); }

private:
    QTemporaryDir m_dir;
};

QString processFailure(QProcess &process, const QString &what)
{
    QString text = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    if (text.isEmpty())
        text = process.error() == QProcess::FailedToStart ? process.errorString()
                                                          : QStringLiteral("exit status %1").arg(process.exitCode());
    return what + QStringLiteral(": ") + text;
}

bool succeeded(const QProcess &process)
{
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

void waitForEnd(QProcess &process, const CopyProgress &progress)
{
    while (!process.waitForFinished(Tick))
        if (process.state() == QProcess::NotRunning)
            break;
        else if (progress)
            progress();
}

void started(QProcess &process, const QString &what)
{
    if (!process.waitForStarted(30000))
        throw Error(processFailure(process, what));
}

// Streams one process's output into the next, through the row counter.
void pump(QProcess &from, QProcess &to, DumpRowCounter &counter, const CopyProgress &progress)
{
    for (;;) {
        const bool finished = from.state() == QProcess::NotRunning;
        if (!finished)
            from.waitForReadyRead(Tick);
        const QByteArray chunk = from.readAllStandardOutput();
        if (!chunk.isEmpty()) {
            counter.feed(chunk);
            to.write(chunk);
            while (to.bytesToWrite() > MaxPending && to.state() == QProcess::Running)
                to.waitForBytesWritten(Tick);
        } else if (finished) {
            break;
        }
        if (progress)
            progress();
    }
    from.waitForFinished();
    while (to.bytesToWrite() > 0 && to.state() == QProcess::Running)
        to.waitForBytesWritten(Tick);
    to.closeWriteChannel();
}

bool isGzip(const QString &file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot read %1: %2").arg(QDir::toNativeSeparators(file), in.errorString()));
    return in.read(2) == QByteArray("\x1f\x8b", 2);
}

// Reads the copy's text in pieces, through gzip when it is compressed.
void readCopy(const QString &file, const std::function<void(const QByteArray &)> &piece, const CopyProgress &progress)
{
    if (!isGzip(file)) {
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly))
            throw Error(QStringLiteral("Cannot read %1: %2").arg(QDir::toNativeSeparators(file), in.errorString()));
        while (!in.atEnd()) {
            const QByteArray chunk = in.read(1 << 20);
            if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
                throw Error(QStringLiteral("Cannot read %1: %2").arg(QDir::toNativeSeparators(file), in.errorString()));
            piece(chunk);
            if (progress)
                progress();
        }
        return;
    }
    QProcess gunzip;
    gunzip.start(clientTool(QStringLiteral("gzip")), {QStringLiteral("-dc"), QStringLiteral("--"), file});
    started(gunzip, QStringLiteral("gzip"));
    try {
        for (;;) {
            const bool finished = gunzip.state() == QProcess::NotRunning;
            if (!finished)
                gunzip.waitForReadyRead(Tick);
            const QByteArray chunk = gunzip.readAllStandardOutput();
            if (!chunk.isEmpty())
                piece(chunk);
            else if (finished)
                break;
            if (progress)
                progress();
        }
    } catch (const Error &) {
        gunzip.kill();
        gunzip.waitForFinished();
        throw;
    }
    if (!succeeded(gunzip))
        throw Error(processFailure(gunzip, QStringLiteral("gzip")));
}

QString refused(const QString &file, const Error &refusal)
{
    return QStringLiteral("Копію %1 не відновлено, базу не змінено: %2. Копія бази містить лише таблиці однієї бази "
                          "(те, що пише mariadb-dump), а не команди клієнта, інші бази, облікові записи, тригери чи процедури.")
        .arg(QDir::toNativeSeparators(file), refusal.text());
}

void runStatements(const ConnectTarget &server, const QByteArray &statements, const QString &what)
{
    ConnectTarget target = server;
    target.database.clear();
    target.multiStatements = true;
    MysqlHandle handle = connectMysql(target);
    runScript(handle.get(), statements, what);
}

QStringList tablesOf(MYSQL *handle, const QString &database)
{
    const QByteArray query = "SELECT TABLE_NAME FROM information_schema.TABLES WHERE TABLE_SCHEMA = '"
        + QString(database).replace(u'\'', QStringLiteral("''")).toUtf8() + "' AND TABLE_TYPE = 'BASE TABLE' ORDER BY TABLE_NAME";
    if (mysql_query(handle, query.constData()) != 0)
        throw DatabaseError(QString::fromUtf8(mysql_error(handle)), mysql_errno(handle));
    MysqlResult result(mysql_store_result(handle));
    QStringList tables;
    while (MYSQL_ROW row = mysql_fetch_row(result.get()))
        tables.append(QString::fromUtf8(row[0]));
    return tables;
}

qint64 countRows(MYSQL *handle, const QString &database, const QString &table)
{
    const QByteArray query = "SELECT COUNT(*) FROM " + (quotedName(database) + u'.' + quotedName(table)).toUtf8();
    if (mysql_query(handle, query.constData()) != 0)
        throw DatabaseError(QString::fromUtf8(mysql_error(handle)), mysql_errno(handle));
    MysqlResult result(mysql_store_result(handle));
    MYSQL_ROW row = mysql_fetch_row(result.get());
    return row ? QByteArray(row[0]).toLongLong() : 0;
}

} // namespace

QList<TableRows> writeDatabaseCopy(const ConnectTarget &target, const QString &file, const CopyProgress &progress)
{
    const QFileInfo info(file);
    const ClientOptions options(target);
    // The copy is written under a temporary name beside the file and renamed when complete.
    QTemporaryFile partial(info.absolutePath() + u'/' + u'.' + info.fileName() + QStringLiteral(".XXXXXX"));
    if (!partial.open())
        throw Error(QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(info.absoluteFilePath()), partial.errorString()));
    partial.close();

    QProcess dump, gzip;
    gzip.setStandardOutputFile(partial.fileName(), QIODevice::Truncate);
    gzip.start(clientTool(QStringLiteral("gzip")), {QStringLiteral("-c")});
    started(gzip, QStringLiteral("gzip"));
    dump.start(clientTool(QStringLiteral("mariadb-dump")),
               {options.argument(), QStringLiteral("--single-transaction"), QStringLiteral("--quick"), QStringLiteral("--skip-add-locks"), QStringLiteral("--no-autocommit"),
                QStringLiteral("--skip-dump-date"), QStringLiteral("--routines"), QStringLiteral("--triggers"),
                QStringLiteral("--"), target.database});
    started(dump, QStringLiteral("mariadb-dump"));

    DumpRowCounter counter;
    pump(dump, gzip, counter, progress);
    waitForEnd(gzip, progress);
    if (!succeeded(dump))
        throw Error(processFailure(dump, QStringLiteral("mariadb-dump")));
    if (!succeeded(gzip))
        throw Error(processFailure(gzip, QStringLiteral("gzip")));
    if (counter.tables().isEmpty())
        throw Error(QStringLiteral("mariadb-dump wrote no table of the database %1").arg(target.database));

    if (std::rename(QFile::encodeName(partial.fileName()).constData(), QFile::encodeName(info.absoluteFilePath()).constData()) != 0)
        throw Error(QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(info.absoluteFilePath()), QString::fromLocal8Bit(std::strerror(errno))));
    partial.setAutoRemove(false);
    return counter.tables();
}

void checkDatabaseCopy(const QString &file, const CopyProgress &progress)
{
    DumpCheck check;
    try {
        readCopy(file, [&](const QByteArray &piece) {
            check.feed(piece);
            check.takeChecked();
        }, progress);
        check.finish();
    } catch (const Error &refusal) {
        throw Error(refused(file, refusal));
    }
}

QList<TableRows> loadDatabaseCopy(const ConnectTarget &target, const QString &file, const CopyProgress &progress)
{
    const QString scratch = target.database + QStringLiteral("_restoring");
    const QString previous = target.database + QStringLiteral("_replaced");
    const QByteArray charset = " CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci";
    runStatements(target,
                  "DROP DATABASE IF EXISTS " + quotedName(scratch).toUtf8() + "; CREATE DATABASE " + quotedName(scratch).toUtf8() + charset,
                  QStringLiteral("Preparing the restore"));
    MysqlHandle admin;
    {
        ConnectTarget t = target;
        t.database.clear();
        t.multiStatements = true;
        admin = connectMysql(t);
    }
    const auto dropScratch = [&] {
        mysql_query(admin.get(), ("DROP DATABASE IF EXISTS " + quotedName(scratch).toUtf8()).constData());
    };

    // The copy goes to the client through the check once more, as it is read now: the client is
    // sent only what has been checked, even if the file changed since. The client's sandbox is a
    // second wall, and its session starts with backslash escapes in strings, as the check reads them.
    const ClientOptions options(target);
    QProcess client;
    client.start(clientTool(QStringLiteral("mariadb")),
                 {options.argument(), QStringLiteral("--batch"), QStringLiteral("--sandbox"),
                  QStringLiteral("--init-command=SET SESSION sql_mode='NO_AUTO_VALUE_ON_ZERO'"), QStringLiteral("--database=") + scratch});
    try {
        started(client, QStringLiteral("mariadb"));
        const auto send = [&](const QByteArray &bytes) {
            if (bytes.isEmpty() || client.state() != QProcess::Running)
                return;
            client.write(bytes);
            while (client.bytesToWrite() > MaxPending && client.state() == QProcess::Running)
                client.waitForBytesWritten(Tick);
        };
        DumpCheck check;
        try {
            readCopy(file, [&](const QByteArray &piece) {
                check.feed(piece);
                send(check.takeChecked());
            }, progress);
            check.finish();
        } catch (const Error &refusal) {
            throw Error(refused(file, refusal));
        }
        send(check.takeChecked());
        while (client.bytesToWrite() > 0 && client.state() == QProcess::Running)
            client.waitForBytesWritten(Tick);
        client.closeWriteChannel();
        waitForEnd(client, progress);
    } catch (const Error &) {
        client.kill();
        client.waitForFinished();
        dropScratch();
        throw;
    }

    if (!succeeded(client)) {
        dropScratch();
        throw Error(processFailure(client, QStringLiteral("mariadb")));
    }
    const QStringList loaded = tablesOf(admin.get(), scratch);
    if (loaded.isEmpty()) {
        dropScratch();
        throw Error(QStringLiteral("%1 holds no table: it is not a copy of the database").arg(QDir::toNativeSeparators(file)));
    }

    // One RENAME TABLE moves the old tables out and the loaded ones in, all or nothing.
    QStringList renames;
    for (const QString &table : tablesOf(admin.get(), target.database))
        renames.append(quotedName(target.database) + u'.' + quotedName(table) + QStringLiteral(" TO ") + quotedName(previous) + u'.' + quotedName(table));
    for (const QString &table : loaded)
        renames.append(quotedName(scratch) + u'.' + quotedName(table) + QStringLiteral(" TO ") + quotedName(target.database) + u'.' + quotedName(table));
    try {
        runScript(admin.get(),
                  "CREATE DATABASE IF NOT EXISTS " + quotedName(target.database).toUtf8() + charset + "; DROP DATABASE IF EXISTS "
                      + quotedName(previous).toUtf8() + "; CREATE DATABASE " + quotedName(previous).toUtf8() + charset
                      + "; RENAME TABLE " + renames.join(QStringLiteral(", ")).toUtf8(),
                  QStringLiteral("Replacing the tables"));
    } catch (const Error &) {
        dropScratch();
        throw;
    }
    runScript(admin.get(),
              "DROP DATABASE " + quotedName(previous).toUtf8() + "; DROP DATABASE " + quotedName(scratch).toUtf8(),
              QStringLiteral("Removing the replaced tables"));

    QList<TableRows> rows;
    for (const QString &table : loaded)
        rows.append(TableRows{table, countRows(admin.get(), target.database, table)});
    return rows;
}

} // namespace coop
