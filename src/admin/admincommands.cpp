#include "admincommands.h"

#include "commandline.h"
#include "data/database.h"
#include "data/databaseerror.h"
#include "data/internalserver.h"
#include "databasecopy.h"
#include "datahomelock.h"
#include "stockcheckreport.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace coop {

namespace {

QString counted(qint64 number) { return QLocale(QLocale::Ukrainian).toString(number); }

void printTables(QTextStream &out, const QList<TableRows> &tables)
{
    qsizetype width = 0;
    for (const TableRows &table : tables)
        width = std::max(width, table.table.size());
    for (const TableRows &table : tables)
        out << "  " << table.table.leftJustified(width) << "  " << counted(table.rows).rightJustified(12) << '\n';
}

QString summary(const QList<TableRows> &tables)
{
    qint64 rows = 0;
    for (const TableRows &table : tables)
        rows += table.rows;
    return QStringLiteral("таблиць %1, рядків %2").arg(tables.size()).arg(counted(rows));
}

// Where the database a restore replaces is kept: beside the copy, named after the moment, and never a
// file that exists already (two restores within a second would otherwise write over the first one's
// copy, or over the very copy being restored).
QString keptCopyPath(const QFileInfo &copy, const QString &database)
{
    const QString stem = database + QStringLiteral("-before-restore-")
                         + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    QString path = copy.absoluteDir().filePath(stem + QStringLiteral(".sql.gz"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = copy.absoluteDir().filePath(QStringLiteral("%1-%2.sql.gz").arg(stem).arg(n));
    return path;
}

} // namespace

CommandDatabase::CommandDatabase() : m_source(DataSource::load(QStringLiteral("MyDB3"))) {}
CommandDatabase::~CommandDatabase() = default;

QString CommandDatabase::dataHome() const { return InternalServer::defaultLocation().dataHome; }

ConnectTarget CommandDatabase::target()
{
    ConnectTarget target;
    target.database = m_source.database;
    target.timeoutSeconds = 30;
    if (m_source.internal) {
        if (!m_server) {
            m_server = std::make_unique<InternalServer>();
            m_server->ensureRunning();
        }
        target.socket = m_server->socketPath();
        target.user = QStringLiteral("root");
        target.password = QString::fromLatin1(InternalServer::RootPassword);
    } else {
        target.socket = m_source.socket;
        target.user = m_source.user;
        target.password = m_source.password;
        target.timeoutSeconds = m_source.connectTimeout;
        connectFirstReady(target, m_source); // the client programs get the first host that is ready
    }
    return target;
}

int backupCommand(const CommandLine &line, QTextStream &out)
{
    CommandDatabase database;
    std::unique_ptr<DataHomeLock> use;
    if (database.internal()) {
        use = std::make_unique<DataHomeLock>(database.dataHome(), DataHomeLock::Mode::Shared);
        if (!use->isHeld())
            throw Error(QStringLiteral("Дані програми саме відновлюються з копії; повторіть копіювання згодом."));
    }
    const QList<TableRows> tables = writeDatabaseCopy(database.target(), line.file);
    printTables(out, tables);
    out << QStringLiteral("Копію бази %1 записано у %2: %3\n")
               .arg(database.source().database, QDir::toNativeSeparators(QFileInfo(line.file).absoluteFilePath()), summary(tables));
    return 0;
}

int restoreCommand(const CommandLine &line, QTextStream &out)
{
    CommandDatabase database;
    if (!database.internal() && !line.force)
        throw Error(QStringLiteral("Програма працює зі спільним сервером: відновлення замінить базу %1 для всіх його користувачів. "
                                   "Якщо саме це потрібно, повторіть команду з --force.")
                        .arg(database.source().database));
    std::unique_ptr<DataHomeLock> use;
    if (database.internal()) {
        use = std::make_unique<DataHomeLock>(database.dataHome(), DataHomeLock::Mode::Exclusive);
        if (!use->isHeld())
            throw Error(QStringLiteral("Програма працює з даними в %1: закрийте її (і зачекайте кінця копіювання), тоді повторіть відновлення.")
                            .arg(QDir::toNativeSeparators(database.dataHome())));
    }
    const QFileInfo copy(line.file);
    if (!copy.isFile() || !copy.isReadable())
        throw Error(QStringLiteral("Немає копії %1 (або її не можна прочитати).").arg(QDir::toNativeSeparators(copy.absoluteFilePath())));

    checkDatabaseCopy(copy.absoluteFilePath()); // a hostile copy is refused before anything is touched
    const ConnectTarget target = database.target();
    // The database being replaced is kept first, beside the copy that replaces it.
    const QString kept = keptCopyPath(copy, database.source().database);
    writeDatabaseCopy(target, kept);
    out << QStringLiteral("Базу, яку замінює копія, збережено у %1\n").arg(QDir::toNativeSeparators(kept));
    const QList<TableRows> tables = loadDatabaseCopy(target, copy.absoluteFilePath());
    printTables(out, tables);
    out << QStringLiteral("Базу %1 відновлено з %2: %3\n")
               .arg(database.source().database, QDir::toNativeSeparators(copy.absoluteFilePath()), summary(tables));
    return 0;
}

int checkStockCommand(const CommandLine &, QTextStream &out)
{
    Database database; // MyDB3 with the start-up account; an internal server is started for it and stopped after
    return printStockCheck(database, out);
}

} // namespace coop
