#pragma once

#include "data/datasource.h"
#include "data/mariadbhandles.h"

#include <QTextStream>

#include <memory>

namespace coop {

class InternalServer;
struct CommandLine;

// The database the program would use, as the administrator's commands reach it: the internal
// server (started for the command when it is not running, and stopped after) with its
// administrator, or a shared server with the data source's account.
class CommandDatabase
{
public:
    CommandDatabase();
    ~CommandDatabase();
    bool internal() const { return m_source.internal; }
    const DataSource &source() const { return m_source; }
    QString dataHome() const; // of the internal server
    ConnectTarget target();   // starts the internal server on first use

private:
    DataSource m_source;
    std::unique_ptr<InternalServer> m_server;
};

// --backup FILE and --restore FILE [--force]. Each writes its report to out, the last line with its
// counts, and answers the exit status; a failure raises coop::Error.
int backupCommand(const CommandLine &line, QTextStream &out);
int restoreCommand(const CommandLine &line, QTextStream &out);
// --check-stock: every base and shop quantity against the stock journal, on the connection the
// program itself would open; exit status 1 when any disagrees.
int checkStockCommand(const CommandLine &line, QTextStream &out);

} // namespace coop
