#pragma once

#include <QString>

#include <optional>

namespace coop {

class IdComboBox;
class Query;

// The small steps both screen patterns and their screens are built from.

// Puts a statement into a runner (closed and its text cleared first) and executes it.
void runStatement(Query &runner, const QString &statement);

// Closes and opens a query, so that it reads its rows again; its first row is current afterwards.
void reopen(Query &query);

// Fills a combo box and its id list from a runner: every row's Id and text column, in the server's
// order. Afterwards no entry is selected and the box shows no text.
void fillIdComboBox(IdComboBox &box, Query &runner, const QString &statement, const QString &textColumn);

// Selects the entry whose id is `id`; no selection when there is none.
void selectId(IdComboBox &box, const QString &id);

// The id of the chosen entry; none when nothing is chosen or the text typed names no entry.
std::optional<QString> chosenId(const IdComboBox &box);

// The current row's Id as decimal text; none when the query is closed or has no current row.
std::optional<QString> currentRowId(const Query &query);

// Refuses an entry: the message under "Помилка" with an OK button and the exclamation icon.
void refuse(const QString &text);

// Refuses to edit or delete when there is no row to work on.
void refuseWithoutRow();

} // namespace coop
