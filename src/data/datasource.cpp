#include "datasource.h"

#include "databaseerror.h"
#include "internalserver.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>

#include <algorithm>
#include <optional>

#include <arpa/inet.h>
#include <cctype>

namespace coop {

namespace {

// A port as the file gives it: 1 to 65535, nothing else; 0 for anything that is not.
unsigned portNumber(const QString &text)
{
    bool ok = false;
    const uint number = text.toUInt(&ok);
    return ok && number <= 65535 ? number : 0;
}

// "db1, db2:3307, [fd00::3]:3308": each host, or host:port, or an IPv6 address in brackets with or
// without a port. Returns the reason when an entry cannot be read.
QString readHosts(const QString &server, QList<DataSource::Host> &hosts)
{
    for (const QString &raw : server.split(u',')) {
        const QString entry = raw.trimmed();
        DataSource::Host host;
        std::optional<QString> port; // the text after the host's ':', when there is one
        if (entry.startsWith(u'[')) {
            const qsizetype close = entry.indexOf(u']');
            const QString rest = close < 0 ? QString() : entry.mid(close + 1);
            if (close < 0 || (!rest.isEmpty() && !rest.startsWith(u':')))
                return QStringLiteral("Server entry '%1' is not [address] or [address]:port").arg(entry);
            host.name = entry.mid(1, close - 1);
            if (!rest.isEmpty())
                port = rest.mid(1);
        } else if (entry.count(u':') == 1) {
            host.name = entry.section(u':', 0, 0);
            port = entry.section(u':', 1);
        } else {
            host.name = entry; // a name, an IPv4 address or a bare IPv6 address
        }
        if (host.name.isEmpty())
            return server.contains(u',') ? QStringLiteral("Server lists an empty host") : QStringLiteral("Server names no host");
        if (std::any_of(host.name.cbegin(), host.name.cend(), [](QChar c) { return c.isSpace(); }))
            return QStringLiteral("Server entry '%1' is not a host name").arg(entry);
        if (host.name.compare(QStringLiteral("internal"), Qt::CaseInsensitive) == 0)
            return QStringLiteral("Server=internal cannot stand in a list of hosts");
        if (port && (host.port = portNumber(*port)) == 0)
            return QStringLiteral("Server entry '%1': '%2' is not a port number").arg(entry, *port);
        hosts.append(host);
    }
    return {};
}

// The fingerprint as the client library takes it: 40 hex digits, colons between pairs allowed.
bool isFingerprint(const QString &text)
{
    QString digits = text;
    digits.remove(u':');
    return digits.size() == 40 && std::all_of(digits.cbegin(), digits.cend(), [](QChar c) { return isxdigit(c.toLatin1()); });
}

} // namespace

bool isLoopbackText(const QString &host)
{
    if (host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QByteArray text = host.toLatin1();
    in_addr v4{};
    if (inet_pton(AF_INET, text.constData(), &v4) == 1)
        return (ntohl(v4.s_addr) >> 24) == 127;
    in6_addr v6{};
    return inet_pton(AF_INET6, text.constData(), &v6) == 1 && IN6_IS_ADDR_LOOPBACK(&v6);
}

bool DataSource::encrypts(const Host &host) const
{
    switch (tls) {
    case Tls::On:
        return true;
    case Tls::Off:
        return false;
    case Tls::Auto:
        break;
    }
    return !isLoopbackText(host.name);
}

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
        internal.password = QString::fromLatin1(InternalServer::RootPassword);
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
                                      QStringLiteral("ConnectTimeout"), QStringLiteral("Database"), QStringLiteral("User"),
                                      QStringLiteral("Password"), QStringLiteral("Tls"), QStringLiteral("TlsCa"),
                                      QStringLiteral("TlsFingerprint")};
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
        if (!server.isEmpty())
            if (const QString fault = readHosts(server, source.hosts); !fault.isEmpty())
                throw fail(fault);
    }
    if (const QString port = value(QStringLiteral("Port")); !port.isEmpty()) {
        if ((source.port = portNumber(port)) == 0)
            throw fail(QStringLiteral("Port '%1' is not a port number").arg(port));
    }
    if (const QString timeout = value(QStringLiteral("ConnectTimeout")); !timeout.isEmpty()) {
        bool ok = false;
        source.connectTimeout = timeout.toUInt(&ok);
        if (!ok || source.connectTimeout == 0 || source.connectTimeout > 3600)
            throw fail(QStringLiteral("ConnectTimeout '%1' is not a number of seconds from 1 to 3600").arg(timeout));
    }
    if (const QString database = value(QStringLiteral("Database")); !database.isEmpty())
        source.database = database;
    if (const QString user = value(QStringLiteral("User")); !user.isEmpty())
        source.user = user;
    source.password = value(QStringLiteral("Password"));
    if (const QString tls = value(QStringLiteral("Tls")); !tls.isEmpty()) {
        if (tls.compare(QStringLiteral("on"), Qt::CaseInsensitive) == 0)
            source.tls = Tls::On;
        else if (tls.compare(QStringLiteral("off"), Qt::CaseInsensitive) == 0)
            source.tls = Tls::Off;
        else
            throw fail(QStringLiteral("Tls '%1' is neither on nor off").arg(tls));
    }
    source.tlsCa = value(QStringLiteral("TlsCa"));
    if (!source.tlsCa.isEmpty() && !QFileInfo(source.tlsCa).isReadable())
        throw fail(QStringLiteral("TlsCa %1 is not a file that can be read").arg(QDir::toNativeSeparators(source.tlsCa)));
    source.tlsFingerprint = value(QStringLiteral("TlsFingerprint"));
    if (!source.tlsFingerprint.isEmpty() && !isFingerprint(source.tlsFingerprint))
        throw fail(QStringLiteral("TlsFingerprint is not the SHA-1 fingerprint of a certificate (40 hex digits, colons allowed)"));
    if (source.tls == Tls::Off && !(source.tlsCa.isEmpty() && source.tlsFingerprint.isEmpty()))
        throw fail(QStringLiteral("Tls=off cannot stand with TlsCa or TlsFingerprint"));
    if (source.internal && source.password.isEmpty())
        source.password = QString::fromLatin1(InternalServer::RootPassword);
    return source;
}

} // namespace coop
