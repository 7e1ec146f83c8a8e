#include "stockjournal.h"

#include "serverrows.h"

namespace coop {

bool hasStockJournal(Database &database)
{
    return serverrows::firstInteger(database,
                                    QStringLiteral("SELECT COUNT(*) FROM information_schema.TABLES "
                                                   "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = 'ruhtovariv'"))
        > 0;
}

} // namespace coop
