#pragma once

#include "data/mariadbhandles.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A shared MariaDB server as a cooperative sets one up: its own data directory under /tmp,
// TCP on 127.0.0.1 only at a free port, the database with the schema, and the clerks' account
// root@127.0.0.1 with nothing but SELECT, INSERT, UPDATE and DELETE on that database. The
// administrator reaches it only through the server's socket. Stopped when the object goes.
class SharedServer
{
public:
    static constexpr const char *Database = "coop";
    static constexpr const char *ClerkUser = "root";

    // Lines for the server's [mariadbd] section beyond the usual ones (its TLS certificate, say).
    explicit SharedServer(QStringList serverOptions = {});
    ~SharedServer();
    SharedServer(const SharedServer &) = delete;
    SharedServer &operator=(const SharedServer &) = delete;

    // Raises coop::Error with the server's log when it cannot be started.
    void start();
    void stop();

    unsigned port() const { return m_port; }
    QString socketPath() const { return m_dir.filePath(QStringLiteral("mariadbd.sock")); }
    QString clerkPassword() const { return m_password; }
    QString errorLog() const { return m_dir.filePath(QStringLiteral("mariadbd.err")); }

    // The administrator on the socket, on the database, several statements allowed.
    coop::MysqlHandle admin() const;
    // The clerks' account over TCP.
    coop::MysqlHandle clerk() const;
    // A data-source file for MyDB3 that leads to this server with the clerks' account.
    QString dataSourceText() const;

private:
    QString logTail() const;

    QTemporaryDir m_dir{QStringLiteral("/tmp/coop-relc-XXXXXX")};
    QStringList m_options;
    QProcess m_server;
    unsigned m_port = 0;
    QString m_password;
};
