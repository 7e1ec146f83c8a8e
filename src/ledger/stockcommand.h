#pragma once

#include "documentkinds.h"
#include "stockjournal.h"

#include <QDateTime>
#include <QString>

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

namespace coop {

class Database;

// One change of one stock row: the goods, the shop (none for the base warehouse) and the signed
// quantity.
struct StockChange
{
    qlonglong goods = 0;
    std::optional<qlonglong> shop;
    double quantity = 0;
};

// How far a command over a document's lines has come: called with 0 as it begins on the lines (once
// any check before them has passed), then with the number of lines done after each one. A re-run
// begins again at 0.
using LineProgress = std::function<void(std::size_t linesDone)>;

// Every command that changes stock runs through this: its statements and its journal rows, all or
// nothing. The command's token (Komanda) is chosen before anything is sent, so that a command whose
// COMMIT was cut off can be looked up after the reconnection, on whatever server that gives.
//
// A command of its own is a function over a StockCommand (receiptposting.h, shoptransfer.h): it
// calls run() with its statements, which call record() for each stock row they change, in order,
// or refuse() before changing anything.
class StockCommand
{
public:
    StockCommand(Database &database, StockDocument document, qlonglong documentId);

    Database &database() const { return m_database; }
    const DocumentKind &kind() const { return m_kind; }
    bool journaled() const { return m_journaled; }
    QString token() const { return m_token; }

    // When the journal shows this document as having moved stock last; none when it never did (or
    // there is no journal).
    std::optional<QDateTime> earlierMove() const;

    // Called by the statements for each stock row they change, in order.
    void record(const StockChange &change);
    // Called by the statements, before they change anything, when the command cannot be given: they
    // return, the transaction ends with nothing changed and no journal row, and run() answers
    // Refused. A change recorded after a refusal is a fault of the command and undoes it all.
    void refuse(const QString &reason);
    // Why the command was refused, for the clerk.
    QString refusal() const { return m_refusal; }

    enum class Outcome {
        Done,
        // The connection went during COMMIT and the command is found to have taken effect.
        DoneDespiteLostCommit,
        // The statements refused; nothing changed.
        Refused,
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

    Database &m_database;
    const DocumentKind &m_kind;
    qlonglong m_documentId;
    bool m_journaled;
    QString m_token;
    std::vector<StockChange> m_changes;
    QString m_refusal;
};

} // namespace coop
