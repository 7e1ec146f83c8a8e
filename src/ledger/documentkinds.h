#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace coop {

// The documents that move stock: the opening rows that explain what stood before the journal, and
// one kind for each command that writes journal rows.
enum class StockDocument { Opening, Receipt, Distribution };

// One kind of document as every reader of the journal sees it. A new command adds its kind here,
// and the movement history (and any other reader) shows it without a change of its own.
struct DocumentKind
{
    StockDocument document;
    QString journalName; // the journal's VydDokumenta, as the upgrade script writes it too
    QString title;       // what the clerk reads: "Надходження", followed by its number and date
    // The header table whose Id the journal's IdDokumenta names, and its date column; empty for a
    // kind without a header (the opening rows).
    QString headerTable;
    QString dateColumn;
    // What the clerk is told the command was ("Зв'язок перервався під час оприбуткування"); empty for
    // a kind that no command writes.
    QString actionName;
};

// Every kind, once.
const std::vector<DocumentKind> &documentKinds();
const DocumentKind &documentKind(StockDocument document);
// The kind the journal names so; null for a name this program does not know (written by a later
// version, or by hand).
const DocumentKind *documentKindNamed(const QString &journalName);

// The lines of an SQL expression that shows the document of a row of the journal (alias `journal`)
// as the readers show it: "Надходження № 12 від 12.05.2011", "Надходження № 99" once the receipt is
// gone, "Залишок на початок" for an opening row; a kind the program does not know shows its journal
// name rather than passing for another. The statement must carry documentJoins(journal).
QStringList documentTextExpression(const QString &journal);
// The left joins of the header tables the expression reads, one line each.
QStringList documentJoins(const QString &journal);

} // namespace coop
