#include "transaction.h"

#include "database.h"
#include "databaseerror.h"

#include <QRandomGenerator>
#include <QThread>

namespace coop {

Transaction::Transaction(Database &database) : m_database(database)
{
    m_database.execute(QStringLiteral("START TRANSACTION"));
}

Transaction::~Transaction()
{
    if (!m_open || !m_database.connected())
        return; // a lost connection has rolled back on the server already
    try {
        m_database.execute(QStringLiteral("ROLLBACK"));
    } catch (const Error &) {
        // The connection went while rolling back; the server discards the transaction itself.
    }
}

void Transaction::commit()
{
    m_database.execute(QStringLiteral("COMMIT"));
    m_open = false;
}

void runInTransaction(Database &database, const std::function<void()> &command, int attempts)
{
    for (int attempt = 1;; ++attempt) {
        try {
            Transaction transaction(database);
            command();
            transaction.commit();
            return;
        } catch (const DatabaseError &error) {
            if (!error.isRetryable() || attempt >= attempts)
                throw;
            // A random share of the wait, so that two commands that met do not meet again (on a
            // cluster they do so at every COMMIT until one of them gives way).
            QThread::msleep(QRandomGenerator::global()->bounded(10 * attempt, 40 * attempt));
        }
    }
}

} // namespace coop
