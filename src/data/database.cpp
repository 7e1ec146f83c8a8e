#include "database.h"

#include "databaseerror.h"
#include "datasource.h"
#include "internalserver.h"
#include "query.h"

#include <algorithm>

namespace coop {

namespace {

// The value of a NAME=value line; names compare without regard to case, the value is as typed.
std::optional<QString> paramValue(const QStringList &params, const QString &name)
{
    for (const QString &line : params) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals >= 0 && line.left(equals).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(equals + 1);
    }
    return std::nullopt;
}

} // namespace

MysqlHandle connectFirstReady(ConnectTarget &target, const DataSource &source)
{
    if (source.hosts.isEmpty()) { // the socket
        MysqlHandle handle = connectMysql(target);
        prepareClusterSession(handle.get());
        return handle;
    }
    std::optional<DatabaseError> last;
    for (const DataSource::Host &host : source.hosts) {
        target.host = host.name;
        target.port = host.port ? host.port : source.port;
        target.tls = source.encrypts(host);
        target.tlsCa = source.tlsCa;
        target.tlsFingerprint = source.tlsFingerprint;
        try {
            MysqlHandle handle = connectMysql(target);
            prepareClusterSession(handle.get());
            return handle;
        } catch (const DatabaseError &error) {
            last = error;
        }
    }
    throw *last;
}

Database::Database(QObject *parent) : QObject(parent) {}

Database::~Database()
{
    for (Query *query : m_queries)
        query->m_database = nullptr;
    m_handle.reset();
}

void Database::setAliasName(const QString &alias)
{
    if (alias != m_aliasName) {
        close();
        m_aliasName = alias;
    }
}

void Database::attach(Query *query) { m_queries.push_back(query); }

void Database::detach(Query *query)
{
    m_queries.erase(std::remove(m_queries.begin(), m_queries.end(), query), m_queries.end());
}

void Database::setConnected(bool connect)
{
    if (connect == connected())
        return;
    if (!connect) {
        for (Query *query : std::vector<Query *>(m_queries))
            query->close();
        m_handle.reset();
        emit connectedChanged(false);
        return;
    }

    const DataSource source = DataSource::load(m_aliasName);
    ConnectTarget target;
    if (source.internal) {
        if (!m_server) {
            m_server = std::make_unique<InternalServer>();
            m_server->setProgress(m_serverProgress);
        }
        m_server->ensureRunning();
        target.socket = m_server->socketPath();
    } else {
        target.socket = source.socket;
        target.timeoutSeconds = source.connectTimeout;
    }
    const bool storedParams = m_params == QStringList{QStringLiteral("USER NAME=root")};
    target.user = storedParams ? source.user : paramValue(m_params, QStringLiteral("USER NAME")).value_or(source.user);
    target.database = paramValue(m_params, QStringLiteral("DATABASE NAME")).value_or(source.database);
    target.password = paramValue(m_params, QStringLiteral("PASSWORD")).value_or(source.password);
    m_handle = connectFirstReady(target, source);
    emit connectedChanged(true);
}

MYSQL *Database::ensureOpen()
{
    if (!m_handle)
        setConnected(true);
    return m_handle.get();
}

void Database::dropLostConnection()
{
    // The client library does not reconnect by itself: the clerk sees the error, and the next use
    // of a query opens a new connection with the current Params.
    m_handle.reset();
    emit connectedChanged(false);
}

void Database::fail(const QString &statement)
{
    DatabaseError error(QString::fromUtf8(mysql_error(m_handle.get())), mysql_errno(m_handle.get()), statement);
    // A node that left the cluster's primary part refuses every statement: the next use connects
    // to a host of the list that is ready, as after a lost connection.
    if (error.isConnectionLost() || error.isNodeNotReady())
        dropLostConnection();
    throw error;
}

void Database::send(const QString &statement, const QByteArray &utf8)
{
    MYSQL *handle = ensureOpen();
    if (m_logging)
        m_log.append(statement);
    if (m_observer)
        m_observer(statement);
    if (mysql_real_query(handle, utf8.constData(), utf8.size()) != 0)
        fail(statement);
}

quint64 Database::execute(const QString &statement)
{
    send(statement, statement.toUtf8());
    MysqlResult result(mysql_store_result(m_handle.get()));
    if (!result && mysql_field_count(m_handle.get()) != 0)
        fail(statement);
    return result ? mysql_num_rows(result.get()) : mysql_affected_rows(m_handle.get());
}

MysqlResult Database::select(const QString &statement)
{
    send(statement, statement.toUtf8());
    MysqlResult result(mysql_store_result(m_handle.get()));
    if (!result) {
        // A connection lost while the rows were coming is that error, not a statement without rows.
        if (mysql_field_count(m_handle.get()) != 0 || mysql_errno(m_handle.get()) != 0)
            fail(statement);
        throw DatabaseError(QStringLiteral("Error creating cursor handle"), 0, statement);
    }
    return result;
}

} // namespace coop
