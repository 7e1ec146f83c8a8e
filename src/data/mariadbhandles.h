#pragma once

#include <mysql.h>

#include <memory>

// Ownership of the client library's resources: a connection handle and a stored result are closed
// or freed by their owner's destructor, never by hand.
namespace coop {

struct MysqlCloser
{
    void operator()(MYSQL *handle) const { mysql_close(handle); }
};
struct MysqlResultFreer
{
    void operator()(MYSQL_RES *result) const { mysql_free_result(result); }
};

using MysqlHandle = std::unique_ptr<MYSQL, MysqlCloser>;
using MysqlResult = std::unique_ptr<MYSQL_RES, MysqlResultFreer>;

// mysql_library_init must run once before any thread uses the library.
void ensureClientLibrary();

} // namespace coop

#include <QByteArray>
#include <QString>

namespace coop {

struct ConnectTarget
{
    QString host;   // empty: the socket
    unsigned port = 0;
    QString socket;
    QString user;
    QString password;
    QString database; // may be empty
    bool multiStatements = false;
    unsigned timeoutSeconds = 10;
    // Encrypted, with the server's certificate verified (and its host name) against tlsCa, or
    // the system's CAs, or pinned by tlsFingerprint; a server without TLS is refused.
    bool tls = false;
    QString tlsCa;
    QString tlsFingerprint;
};

// The session every connection of the system has: utf8mb4, NO_BACKSLASH_ESCAPES (quote doubling
// is then a complete escape) and strict mode (no silent truncation). No automatic reconnection.
inline constexpr const char *SessionSqlMode =
    "STRICT_ALL_TABLES,NO_BACKSLASH_ESCAPES,ERROR_FOR_DIVISION_BY_ZERO,NO_ENGINE_SUBSTITUTION";

// Opens and checks a connection; raises coop::DatabaseError with the client library's text.
MysqlHandle connectMysql(const ConnectTarget &target);
// On a node of a Galera cluster: raises coop::DatabaseError when the node is not ready for work,
// and makes the session's reads wait until the node has applied every write the cluster committed
// before them, so that a clerk who failed over from another node sees his own last command. Does
// nothing on a server that is not a cluster node.
void prepareClusterSession(MYSQL *handle);
// Runs a script of several statements on a connection opened with multiStatements.
void runScript(MYSQL *handle, const QByteArray &script, const QString &what);

} // namespace coop
