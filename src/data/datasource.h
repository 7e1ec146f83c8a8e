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

    QString alias;
    bool internal = true;
    QList<Host> hosts; // in the order they are tried at every connection
    unsigned port = 0;
    unsigned connectTimeout = 5;
    QString socket;
    QString database = QStringLiteral("190400");
    QString user = QStringLiteral("root");
    QString password;

    // Raises coop::Error for a malformed file, an unknown key, a bad port or an undefined alias.
    static DataSource load(const QString &alias);
    static DataSource parse(const QString &alias, const QString &iniPath);
    static QString configFilePath();
};

// The name the system's files are kept under: the program file's name.
QString programName();

} // namespace coop
