#pragma once

#include <QByteArray>
#include <QString>

namespace coop {

// The program's own scripts — db/schema.sql, db/demo.sql, db/upgrade-journal.sql — are compiled
// into the data library as Qt resources, so the program, its tools, benchmarks and tests find
// them wherever they are run from. Raises coop::Error for a name the program does not carry.
QByteArray programFile(const QString &relativePath);

} // namespace coop
