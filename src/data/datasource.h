#pragma once

#include <QString>

namespace coop {

// Where a named data source leads. Read from $XDG_CONFIG_HOME/<program>/datasources.ini, one INI
// section per alias:
//   [MyDB3]
//   Server=internal            ; or a host name
//   Port=3306                  ; or Socket=/path/to/socket instead of Server and Port
//   Database=190400
//   User=root
//   Password=...
// Without the file, every alias is the program's own internal server.
struct DataSource
{
    QString alias;
    bool internal = true;
    QString host;
    unsigned port = 0;
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
