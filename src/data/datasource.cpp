#include "datasource.h"

#include "databaseerror.h"
#include "internalserver.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
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
    static const QStringList known = {QStringLiteral("Server"), QStringLiteral("Port"), QStringLiteral("Socket"),
                                      QStringLiteral("Database"), QStringLiteral("User"), QStringLiteral("Password")};
    if (!QFileInfo(iniPath).isReadable())
        throw fail(QStringLiteral("cannot be read"));

    // Read by hand rather than through QSettings, which passes over lines it cannot read and takes
    // ";" and "," inside a value for a comment and a list: a password may well hold either.
    QFile file(iniPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw fail(file.errorString());
    QHash<QString, QString> keys; // of the alias's section, by lower-case key
    bool inAlias = false, found = false;
    int number = 0;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        ++number;
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']') && line.size() > 2) {
            inAlias = line.mid(1, line.size() - 2).trimmed().compare(alias, Qt::CaseInsensitive) == 0;
            found = found || inAlias;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        // The line itself is not quoted: it may be a password that lost its "Password=".
        if (equals <= 0)
            throw fail(QStringLiteral("line %1 is neither [section] nor key=value").arg(number));
        if (!inAlias)
            continue;
        const QString key = line.left(equals).trimmed();
        if (!known.contains(key, Qt::CaseInsensitive))
            throw fail(QStringLiteral("unknown key '%1' in [%2]").arg(key, alias));
        QString value = line.mid(equals + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
            value = value.mid(1, value.size() - 2);
        keys.insert(key.toLower(), value);
    }
    if (!found)
        throw fail(QStringLiteral("defines no data source '%1'").arg(alias));
    const auto value = [&](const QString &key) { return keys.value(key.toLower()); };

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
