#include "automaticcopies.h"

#include "data/databaseerror.h"
#include "data/datasource.h"

#include <QDir>
#include <QFile>

namespace coop {

namespace {

constexpr const char *Stamp = "yyyy-MM-dd-HHmmss";
constexpr const char *Suffix = ".sql.gz";

} // namespace

AutomaticCopies::AutomaticCopies(const QString &dataHome) : m_folder(dataHome + QStringLiteral("/backups")) {}

QDateTime AutomaticCopies::takenAt(const QString &fileName) const
{
    const QString prefix = programName() + u'-';
    if (!fileName.startsWith(prefix) || !fileName.endsWith(QLatin1String(Suffix)))
        return {};
    const QString stamp = fileName.mid(prefix.size(), fileName.size() - prefix.size() - qstrlen(Suffix));
    return QDateTime::fromString(stamp, QLatin1String(Stamp));
}

QStringList AutomaticCopies::existing() const
{
    QStringList copies;
    const QStringList names = QDir(m_folder).entryList({programName() + QStringLiteral("-*") + QLatin1String(Suffix)}, QDir::Files, QDir::Name);
    for (const QString &name : names)
        if (takenAt(name).isValid())
            copies.append(QDir(m_folder).filePath(name));
    return copies; // the stamp sorts by name in time order
}

bool AutomaticCopies::due(const QDateTime &now) const
{
    const QStringList copies = existing();
    if (copies.isEmpty())
        return true;
    const QDateTime newest = takenAt(QFileInfo(copies.last()).fileName());
    return newest.secsTo(now) > 24 * 60 * 60;
}

QString AutomaticCopies::fileFor(const QDateTime &now) const
{
    return QDir(m_folder).filePath(programName() + u'-' + now.toString(QLatin1String(Stamp)) + QLatin1String(Suffix));
}

void AutomaticCopies::prune() const
{
    QStringList copies = existing();
    while (copies.size() > Kept)
        QFile::remove(copies.takeFirst());
}

QString AutomaticCopies::writeIfDue(const ConnectTarget &target, const QDateTime &now, const CopyProgress &progress) const
{
    if (!due(now))
        return {};
    if (!QDir().mkpath(m_folder))
        throw Error(QStringLiteral("Cannot create the directory %1").arg(QDir::toNativeSeparators(m_folder)));
    const QString file = fileFor(now);
    writeDatabaseCopy(target, file, progress);
    prune();
    return file;
}

} // namespace coop
