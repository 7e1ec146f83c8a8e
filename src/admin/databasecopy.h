#pragma once

#include "data/mariadbhandles.h"
#include "dumprowcounter.h"

#include <QList>
#include <QString>

#include <functional>

namespace coop {

// Called every tenth of a second or so while a copy is written or loaded: the program keeps its
// progress dialog alive with it.
using CopyProgress = std::function<void()>;

// Writes a consistent copy of target.database to file: mariadb-dump --single-transaction (clerks
// may keep working meanwhile), compressed with gzip. The file appears only when the copy is
// complete; a failure raises coop::Error with the dump's own text and leaves no file behind.
// Answers the rows written per table.
QList<TableRows> writeDatabaseCopy(const ConnectTarget &target, const QString &file, const CopyProgress &progress = {});

// Reads a copy (compressed or plain SQL) through and raises coop::Error, naming the line and the
// first words, at the first statement that is not one of a copy of one database's tables (see
// DumpCheck). Touches nothing.
void checkDatabaseCopy(const QString &file, const CopyProgress &progress = {});

// Loads a copy (compressed or plain SQL) into target.database. The copy goes first into a scratch
// database beside it, and only a complete load replaces the tables, in one RENAME TABLE: a failure
// leaves the database as it was. The client is sent only what the check above lets through, as
// the copy is read, so a refusal on the way is one more such failure. Answers the rows per table
// of the database as loaded.
QList<TableRows> loadDatabaseCopy(const ConnectTarget &target, const QString &file, const CopyProgress &progress = {});

} // namespace coop
