#pragma once

#include <QString>

namespace coop {

class Query;

// The export of a catalog grid to a spreadsheet: one worksheet named after the window caption, a
// bold title row at size 10 with the titles of the shown fields, then the field text of every row
// the query holds (filters included), each column as wide as its field's size (12 for fields
// without one), thin borders and wrapping over the whole block, A1 selected. The walk leaves the
// last row current.

// Writes the workbook to `path`; raises coop::Error when it cannot.
void writeGridWorkbook(Query &query, const QString &caption, const QString &path);

// The type of the workbook, as the desktop's associations name it.
inline constexpr char WorkbookType[] = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";

// The desktop's application for workbooks (its .desktop file, as xdg-mime names it); empty when
// the desktop has none, "?" when it cannot be asked.
QString desktopHandlerOfWorkbooks();

// Writes the workbook to a temporary place and opens it with the desktop's handler for .xlsx
// files. When the desktop has no such handler, the grid's query is closed, or any step fails, it
// shows "Microsoft Ecxel не інстальований, або виникла інша помилка." under "Помилка!!!", keeps no
// workbook and goes no further; nothing else changes.
void exportGridToSpreadsheet(Query &query, const QString &caption);

} // namespace coop
