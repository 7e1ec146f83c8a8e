#pragma once

#include "mariadbhandles.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace coop {

class InternalServer;
class Query;
struct DataSource;

// Opens a connection to the first host of the data source's list that answers within its timeout and
// is ready for work, trying them in order (or to its socket); target then names that host. When none
// answers, raises the last host's error.
MysqlHandle connectFirstReady(ConnectTarget &target, const DataSource &source);

// The one connection of the system (Database1). It reaches the server through a named data source
// (AliasName) and hands the engine its Params lines (NAME=value) when it opens. Queries name it by
// DatabaseName; using a query while it is closed opens it silently with the Params of that moment.
class Database : public QObject
{
    Q_OBJECT

public:
    explicit Database(QObject *parent = nullptr);
    ~Database() override;

    QString aliasName() const { return m_aliasName; }
    void setAliasName(const QString &alias);
    QString databaseName() const { return m_databaseName; }
    void setDatabaseName(const QString &name) { m_databaseName = name; }
    bool loginPrompt() const { return m_loginPrompt; }
    void setLoginPrompt(bool prompt) { m_loginPrompt = prompt; }

    QStringList params() const { return m_params; }
    void clearParams() { m_params.clear(); }
    void appendParam(const QString &line) { m_params.append(line); }
    void setParams(const QStringList &lines) { m_params = lines; }

    bool connected() const { return m_handle != nullptr; }
    // true opens with the current Params (raising the engine's text on failure); false closes every
    // open query first, then the connection.
    void setConnected(bool connected);
    void open() { setConnected(true); }
    void close() { setConnected(false); }

    // Runs a statement that returns no rows; returns the affected row count.
    quint64 execute(const QString &statement);
    // Runs a statement and keeps its whole result on the client.
    MysqlResult select(const QString &statement);

    // Every statement sent, in order, while logging is on (tests assert exact texts).
    void setStatementLogging(bool on) { m_logging = on; }
    // Called with each statement just before it is sent, for the same record kept elsewhere (a
    // trace, a fault-injection harness); it may throw to stop the statement.
    using StatementObserver = std::function<void(const QString &statement)>;
    void setStatementObserver(StatementObserver observer) { m_observer = std::move(observer); }
    QStringList statementLog() const { return m_log; }
    void clearStatementLog() { m_log.clear(); }

    // Handed to the internal server when it is started, to show its long work (see InternalServer).
    void setServerProgress(std::function<void(const QString &doing)> progress) { m_serverProgress = std::move(progress); }
    // The internal server behind the alias, once it has been started; null for an outside server.
    InternalServer *internalServer() const { return m_server.get(); }

signals:
    void connectedChanged(bool connected);

private:
    friend class Query;
    void attach(Query *query);
    void detach(Query *query);
    MYSQL *ensureOpen();
    void send(const QString &statement, const QByteArray &utf8);
    [[noreturn]] void fail(const QString &statement);
    void dropLostConnection();

    QString m_aliasName = QStringLiteral("MyDB3");
    QString m_databaseName = QStringLiteral("190400");
    bool m_loginPrompt = false;
    // The stored line. While the Params are just this line, the start-up account is the data
    // source's own (User and Password), so that each workstation can sign in with its own; root
    // where it names none. Params given since (the connection dialog's) are used as they stand.
    QStringList m_params = {QStringLiteral("USER NAME=root")};
    MysqlHandle m_handle;
    std::unique_ptr<InternalServer> m_server;
    std::function<void(const QString &doing)> m_serverProgress;
    std::vector<Query *> m_queries;
    bool m_logging = false;
    StatementObserver m_observer;
    QStringList m_log;
};

} // namespace coop
