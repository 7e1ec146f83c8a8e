#pragma once

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QTextStream;

namespace coop {

class Database;

// The stock journal ruhtovariv: a row for every change of baza and nayavnistvmagazuni, written in
// the transaction of the change. A database without the table works as before, without a journal.

// The documents that move stock, as the journal's VydDokumenta names them.
enum class StockDocument { Receipt, Distribution };

// One change of one stock row: the goods, the shop (none for the base warehouse) and the signed
// quantity.
struct StockChange
{
    qlonglong goods = 0;
    std::optional<qlonglong> shop;
    double quantity = 0;
};

// Whether the connected database has the journal. A shared server gets it whenever its administrator
// runs db/upgrade-journal.sql, so this is asked of the server each time.
bool hasStockJournal(Database &database);

// A posting or a transfer: its stock statements and its journal rows, all or nothing. The command's
// token (Komanda) is chosen before anything is sent, so that a command whose COMMIT was cut off can
// be looked up after the reconnection, on whatever server that gives.
class StockCommand
{
public:
    StockCommand(Database &database, StockDocument document, qlonglong documentId);

    bool journaled() const { return m_journaled; }
    QString token() const { return m_token; }

    // When the journal shows this document as having moved stock last; none when it never did (or
    // there is no journal).
    std::optional<QDateTime> earlierMove() const;

    // Called by the statements for each stock row they change, in order.
    void record(const StockChange &change) { m_changes.push_back(change); }

    enum class Outcome {
        Done,
        // The connection went during COMMIT and the command is found to have taken effect.
        DoneDespiteLostCommit,
    };
    // Runs the statements and then the journal rows in one transaction (re-run whole on a deadlock).
    // When the connection is lost during COMMIT, reconnects and looks the token up: the command
    // took effect, or an Error says that it did not, or that it cannot be known.
    Outcome run(const std::function<void()> &statements);

    // What the clerk is told when the outcome is DoneDespiteLostCommit.
    QString doneDespiteLostCommitText() const;

    // Shows the command's effect on the screens once it took effect. A connection lost meanwhile (a
    // server or cluster node that died just after the COMMIT) is opened again, on the next host of the
    // list, and the refresh given once more; an error that remains is raised with the news that the
    // command took effect, so that the clerk does not give it again.
    void refreshAfter(const std::function<void()> &refresh) const;

private:
    void writeJournal();
    bool tookEffect();
    QString actionName() const;

    Database &m_database;
    StockDocument m_document;
    qlonglong m_documentId;
    bool m_journaled;
    QString m_token;
    std::vector<StockChange> m_changes;
};

// Every base and shop quantity compared with the sum of its journal rows (a stock row missing counts
// as 0).
struct StockMismatch
{
    qlonglong goods = 0;
    QString goodsName;
    std::optional<qlonglong> shop;
    QString shopName;
    std::optional<double> stock; // none when the stock row is missing
    double journal = 0;
};
struct StockCheck
{
    qlonglong stockRows = 0;
    std::vector<StockMismatch> mismatches;
};
// Raises coop::Error when the database has no journal.
StockCheck compareStockWithJournal(Database &database);

// The administrator's check: prints each mismatch and a last line with the counts; answers the exit
// status, 0 when every quantity agrees with its journal, 1 otherwise; a failure raises coop::Error.
int checkStock(Database &database, QTextStream &out);

} // namespace coop
