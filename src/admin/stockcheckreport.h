#pragma once

class QTextStream;

namespace coop {

class Database;

// The administrator's --check-stock: the ledger's comparison of every quantity with the stock
// journal, each mismatch printed on a line of its own and a last line with the counts. Answers the
// exit status, 0 when every quantity agrees with its journal, 1 otherwise; a failure (a database
// without the journal included) raises coop::Error before anything is printed.
int printStockCheck(Database &database, QTextStream &out);

} // namespace coop
