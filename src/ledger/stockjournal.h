#pragma once

namespace coop {

class Database;

// The stock journal ruhtovariv: a row for every change of baza and nayavnistvmagazuni, written by
// StockCommand in the transaction of the change, with the quantity the stock row holds after it. A
// database without the table works as before, without a journal.

// Whether the connected database has the journal. A shared server gets it whenever its administrator
// runs db/upgrade-journal.sql, so this is asked of the server each time.
bool hasStockJournal(Database &database);

} // namespace coop
