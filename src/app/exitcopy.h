#pragma once

#include "admin/datahomelock.h"

#include <memory>

namespace coop {

class Database;

// While the program runs on the internal server it holds the server's data home shared, so that a
// restore refuses to replace the database under it. Null for a shared server. Raises coop::Error
// while a restore is running.
std::unique_ptr<DataHomeLock> useInternalData();

// At a clean exit from the internal server: the day's automatic copy when one is due, with a
// progress dialog when it takes longer than half a second. A failure is shown in the error box and
// the program ends all the same; the database itself is untouched by it.
void writeAutomaticCopy(Database &database);

} // namespace coop
