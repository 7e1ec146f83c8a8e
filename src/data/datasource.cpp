#include "datasource.h"

#include "databaseerror.h"
#include "internalserver.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace coop {

QString programName()
{
    const QString file = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    return file.isEmpty() ? QStringLiteral("myrolan") : file;
}

QString DataSource::configFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' + programName()
        + QStringLiteral("/datasources.ini");
}

DataSource DataSource::load(const QString &alias)
{
    const QString path = configFilePath();
    if (!QFileInfo::exists(path)) {
        DataSource internal;
        internal.alias = alias;
        internal.password = InternalServer::RootPassword;
        return internal;
    }
    return parse(alias, path);
}

DataSource DataSource::parse(const QString &alias, const QString &iniPath)
{
    const auto fail = [&](const QString &what) {
        return Error(QStringLiteral("Data source file %1: %2").arg(QDir::toNativeSeparators(iniPath), what));
    };
    if (!QFileInfo(iniPath).isReadable())
        throw fail(QStringLiteral("cannot be read"));

    QSettings ini(iniPath, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        throw fail(QStringLiteral("is not a valid INI file"));
    if (!ini.childGroups().contains(alias, Qt::CaseInsensitive))
        throw fail(QStringLiteral("defines no data source '%1'").arg(alias));

    for (const QString &group : ini.childGroups())
        if (group.compare(alias, Qt::CaseInsensitive) == 0)
            ini.beginGroup(group);

    static const QStringList known = {QStringLiteral("Server"), QStringLiteral("Port"), QStringLiteral("Socket"), QStringLiteral("Database"), QStringLiteral("User"), QStringLiteral("Password")};
    for (const QString &key : ini.childKeys())
        if (!known.contains(key, Qt::CaseInsensitive))
            throw fail(QStringLiteral("unknown key '%1' in [%2]").arg(key, alias));
    if (!ini.childGroups().isEmpty())
        throw fail(QStringLiteral("unexpected subsection in [%1]").arg(alias));

    const auto value = [&](const QString &key) {
        for (const QString &k : ini.childKeys())
            if (k.compare(key, Qt::CaseInsensitive) == 0)
                return ini.value(k).toString();
        return QString();
    };

    DataSource source;
    source.alias = alias;
    const QString server = value(QStringLiteral("Server"));
    source.socket = value(QStringLiteral("Socket"));
    source.internal = server.compare(QStringLiteral("internal"), Qt::CaseInsensitive) == 0;
    if (!source.internal) {
        if (server.isEmpty() && source.socket.isEmpty())
            throw fail(QStringLiteral("[%1] names neither Server nor Socket").arg(alias));
        source.host = server;
    }
    if (const QString port = value(QStringLiteral("Port")); !port.isEmpty()) {
        bool ok = false;
        const uint number = port.toUInt(&ok);
        if (!ok || number == 0 || number > 65535)
            throw fail(QStringLiteral("Port '%1' is not a port number").arg(port));
        source.port = number;
    }
    if (const QString database = value(QStringLiteral("Database")); !database.isEmpty())
        source.database = database;
    if (const QString user = value(QStringLiteral("User")); !user.isEmpty())
        source.user = user;
    source.password = value(QStringLiteral("Password"));
    if (source.internal && source.password.isEmpty())
        source.password = InternalServer::RootPassword;
    return source;
}

} // namespace coop
