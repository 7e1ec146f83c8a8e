#pragma once

#include <functional>

namespace coop {

class Database;

// A transaction on the connection: rolled back when it goes out of scope without commit(), so
// that an exception anywhere in a command leaves the data as it was.
class Transaction
{
public:
    explicit Transaction(Database &database);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit();

private:
    Database &m_database;
    bool m_open = true;
};

// Runs a command all or nothing. A deadlock, a lock-wait timeout or a cluster's certification
// conflict re-runs the whole command (the server has rolled it back) a few times before the error
// is reported.
void runInTransaction(Database &database, const std::function<void()> &command, int attempts = 8);

} // namespace coop
