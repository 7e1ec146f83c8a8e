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

// Loads a copy (compressed or plain SQL) into target.database. The copy goes first into a scratch
// database beside it, and only a complete load replaces the tables, in one RENAME TABLE: a failure
// leaves the database as it was. Answers the rows per table of the database as loaded.
QList<TableRows> loadDatabaseCopy(const ConnectTarget &target, const QString &file, const CopyProgress &progress = {});

} // namespace coop
