#pragma once

#include <QList>
#include <QString>

namespace coop {

// Where a named data source leads. Read from $XDG_CONFIG_HOME/<program>/datasources.ini, one INI
// section per alias:
//   [MyDB3]
//   Server=internal            ; or hosts: db1,db2:3307,[fd00::3] tried in order
//   Port=3306                  ; or Socket=/path/to/socket instead of Server and Port
//   ConnectTimeout=5           ; seconds a host may take to answer before the next is tried
//   Database=190400
//   User=root
//   Password=...
//   Tls=on|off                 ; without it: TLS to every host but this machine's (see encrypts)
//   TlsCa=/path/ca.pem         ; the CA that signed the server's certificate (else the system's)
//   TlsFingerprint=AB:CD:…     ; or the server certificate's SHA-1 fingerprint, pinned
// Without the file, every alias is the program's own internal server.
struct DataSource
{
    // One server of the list; port 0 means the data source's Port.
    struct Host
    {
        QString name;
        unsigned port = 0;
        bool operator==(const Host &) const = default;
    };

    enum class Tls { Auto, On, Off };

    QString alias;
    bool internal = true;
    QList<Host> hosts; // in the order they are tried at every connection
    unsigned port = 0;
    unsigned connectTimeout = 5;
    QString socket;
    QString database = QStringLiteral("190400");
    QString user = QStringLiteral("root");
    QString password;
    Tls tls = Tls::Auto;
    QString tlsCa;
    QString tlsFingerprint;

    // Whether the connection to this host is encrypted and its certificate verified: always to
    // another machine, judged from the text alone (anything but localhost, 127.0.0.0/8 and ::1;
    // a name that happens to resolve to this machine is another machine's name); to this machine
    // with Tls=on; never with Tls=off, the administrator's choice for a trusted network.
    bool encrypts(const Host &host) const;
    // Raises coop::Error for a malformed file, an unknown key, a bad port or an undefined alias.
    static DataSource load(const QString &alias);
    static DataSource parse(const QString &alias, const QString &iniPath);
    static QString configFilePath();
};

// localhost, an IPv4 address of 127.0.0.0/8 or the IPv6 loopback, as written.
bool isLoopbackText(const QString &host);

// The name the system's files are kept under: the program file's name.
QString programName();

} // namespace coop
