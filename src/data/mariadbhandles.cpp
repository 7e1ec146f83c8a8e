#include "mariadbhandles.h"

#include "databaseerror.h"

#include <mutex>

namespace coop {

void ensureClientLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] { mysql_library_init(0, nullptr, nullptr); });
}

namespace {
DatabaseError errorOf(MYSQL *handle, const QString &statement = {})
{
    return DatabaseError(QString::fromUtf8(mysql_error(handle)), mysql_errno(handle), statement);
}
// A TLS connection that failed: which of the two ways, and what the administrator can do.
DatabaseError tlsError(MYSQL *handle, const ConnectTarget &target)
{
    const unsigned code = mysql_errno(handle);
    const QString words = QString::fromUtf8(mysql_error(handle));
    if (code != 2026) // not TLS's own failure: a host that does not answer, a refused password
        return DatabaseError(words, code);
    const bool noTls = words.contains(QStringLiteral("doesn't support"), Qt::CaseInsensitive)
                       || words.contains(QStringLiteral("not support"), Qt::CaseInsensitive);
    const QString host = target.host.isEmpty() ? target.socket : target.host;
    const QString what = noTls ? QStringLiteral("сервер %1 не пропонує шифрованого з'єднання (TLS)").arg(host)
                               : QStringLiteral("сертифікат сервера %1 не пройшов перевірки").arg(host);
    return DatabaseError(QStringLiteral("З'єднання з %1 відхилено: %2 (%3). З'єднання з іншою машиною шифрується й перевіряється: "
                                        "увімкніть TLS на сервері (ssl_cert, ssl_key) і вкажіть у джерелі даних TlsCa= (файл центру "
                                        "сертифікації, що підписав сертифікат сервера) або TlsFingerprint=; Tls=off — лише для "
                                        "довіреної мережі.")
                             .arg(host, what, words),
                         code);
}

} // namespace

MysqlHandle connectMysql(const ConnectTarget &target)
{
    ensureClientLibrary();
    MysqlHandle handle(mysql_init(nullptr));
    if (!handle)
        throw DatabaseError(QStringLiteral("Out of memory for a database connection"));

    const QByteArray init = QByteArrayLiteral("SET NAMES utf8mb4 COLLATE utf8mb4_unicode_ci, sql_mode='")
        + SessionSqlMode + "'";
    my_bool noReconnect = 0;
    mysql_optionsv(handle.get(), MYSQL_OPT_RECONNECT, &noReconnect);
    mysql_optionsv(handle.get(), MYSQL_SET_CHARSET_NAME, "utf8mb4");
    mysql_optionsv(handle.get(), MYSQL_INIT_COMMAND, init.constData());
    unsigned timeout = target.timeoutSeconds;
    mysql_optionsv(handle.get(), MYSQL_OPT_CONNECT_TIMEOUT, &timeout);
    mysql_optionsv(handle.get(), MYSQL_OPT_READ_TIMEOUT, &(timeout = 3600));
    mysql_optionsv(handle.get(), MYSQL_OPT_WRITE_TIMEOUT, &(timeout = 3600));

    const QByteArray ca = target.tlsCa.toLocal8Bit(), fingerprint = target.tlsFingerprint.toLatin1();
    my_bool tls = target.tls ? 1 : 0;
    mysql_optionsv(handle.get(), MYSQL_OPT_SSL_ENFORCE, &tls);
    if (target.tls) {
        if (!fingerprint.isEmpty()) {
            mysql_optionsv(handle.get(), MARIADB_OPT_TLS_PEER_FP, fingerprint.constData());
        } else {
            my_bool verify = 1;
            mysql_optionsv(handle.get(), MYSQL_OPT_SSL_VERIFY_SERVER_CERT, &verify);
            if (!ca.isEmpty())
                mysql_optionsv(handle.get(), MYSQL_OPT_SSL_CA, ca.constData());
        }
    }

    const QByteArray host = target.host.toUtf8(), user = target.user.toUtf8(), password = target.password.toUtf8(),
                     database = target.database.toUtf8(), socket = target.socket.toUtf8();
    const unsigned long flags = CLIENT_FOUND_ROWS | (target.multiStatements ? CLIENT_MULTI_STATEMENTS : 0);
    if (!mysql_real_connect(handle.get(), host.isEmpty() ? nullptr : host.constData(), user.constData(),
                            password.constData(), database.isEmpty() ? nullptr : database.constData(), target.port,
                            socket.isEmpty() ? nullptr : socket.constData(), flags))
        throw target.tls ? tlsError(handle.get(), target) : errorOf(handle.get());

    // The init command can be refused without failing the connection: check what the session got.
    if (mysql_query(handle.get(), "SELECT @@session.sql_mode, @@character_set_connection") != 0)
        throw errorOf(handle.get());
    MysqlResult result(mysql_store_result(handle.get()));
    MYSQL_ROW row = result ? mysql_fetch_row(result.get()) : nullptr;
    const QByteArray mode = row && row[0] ? QByteArray(row[0]) : QByteArray();
    const QByteArray charset = row && row[1] ? QByteArray(row[1]) : QByteArray();
    if (!mode.contains("NO_BACKSLASH_ESCAPES") || !mode.contains("STRICT_ALL_TABLES") || charset != "utf8mb4")
        throw DatabaseError(QStringLiteral("The server did not accept the session settings (sql_mode %1, character set %2)")
                                .arg(QString::fromLatin1(mode), QString::fromLatin1(charset)));
    return handle;
}

void prepareClusterSession(MYSQL *handle)
{
    // A statement of its own: combined with a read of a table it has been seen to answer 0 on a node.
    if (mysql_query(handle, "SELECT @@wsrep_on") != 0) {
        if (mysql_errno(handle) == 1193) // ER_UNKNOWN_SYSTEM_VARIABLE: a server built without clustering
            return;
        throw errorOf(handle);
    }
    MysqlResult on(mysql_store_result(handle));
    MYSQL_ROW row = on ? mysql_fetch_row(on.get()) : nullptr;
    if (!row || !row[0] || QByteArray(row[0]) != "1")
        return;

    if (mysql_query(handle, "SHOW GLOBAL STATUS LIKE 'wsrep_ready'") != 0)
        throw errorOf(handle);
    MysqlResult ready(mysql_store_result(handle));
    row = ready ? mysql_fetch_row(ready.get()) : nullptr;
    if (!row || !row[1] || QByteArray(row[1]) != "ON")
        throw DatabaseError(QStringLiteral("WSREP has not yet prepared node for application use (wsrep_ready is OFF)"), 1047);

    // Bit 1: a read (SELECT, SHOW, BEGIN) first waits until this node has applied every write the
    // cluster committed before it; bits the server's configuration sets stay.
    if (mysql_query(handle, "SET SESSION wsrep_sync_wait = @@global.wsrep_sync_wait | 1") != 0)
        throw errorOf(handle);
}

void runScript(MYSQL *handle, const QByteArray &script, const QString &what)
{
    if (mysql_real_query(handle, script.constData(), script.size()) != 0)
        throw DatabaseError(what + QStringLiteral(": ") + QString::fromUtf8(mysql_error(handle)), mysql_errno(handle));
    for (;;) {
        MysqlResult discard(mysql_store_result(handle));
        const int next = mysql_next_result(handle);
        if (next == -1)
            break;
        if (next > 0)
            throw DatabaseError(what + QStringLiteral(": ") + QString::fromUtf8(mysql_error(handle)), mysql_errno(handle));
    }
}

} // namespace coop
