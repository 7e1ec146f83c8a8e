#pragma once

#include <QString>
#include <stdexcept>

namespace coop {

// Every failure the system reports to the clerk travels as this exception; its text is what the
// error box shows (the server's own text for a rejected statement).
class Error : public std::runtime_error
{
public:
    explicit Error(const QString &text) : std::runtime_error(text.toStdString()), m_text(text) {}
    QString text() const { return m_text; }

private:
    QString m_text;
};

// A statement or connection the server (or the client library) refused.
class DatabaseError : public Error
{
public:
    DatabaseError(const QString &text, unsigned serverCode = 0, QString statement = {})
        : Error(text), m_code(serverCode), m_statement(std::move(statement)) {}
    unsigned code() const { return m_code; }
    QString statement() const { return m_statement; }

    // Client-side codes of a connection that is gone (CR_SERVER_GONE_ERROR, CR_SERVER_LOST, ...).
    bool isConnectionLost() const { return m_code == 2006 || m_code == 2013 || m_code == 2055; }
    // A cluster node that has left the cluster's primary part (or not yet joined it) answers every
    // statement with ER_UNKNOWN_COM_ERROR "WSREP has not yet prepared node for application use".
    bool isNodeNotReady() const { return m_code == 1047; }
    // A deadlock or lock-wait timeout: the whole transaction may simply be run again; on a cluster
    // the same deadlock error reports a certification conflict at COMMIT (another node changed the
    // same rows first), and the transaction is gone just the same. So may a
    // duplicate key: the only unique keys besides Id keep one stock row per goods (and shop), and two
    // clerks creating that row at once leave one of them to find it there when it runs again.
    bool isRetryable() const { return m_code == 1213 || m_code == 1205 || m_code == 1062; }

private:
    unsigned m_code;
    QString m_statement;
};

} // namespace coop
