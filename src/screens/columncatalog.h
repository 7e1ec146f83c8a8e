#pragma once

#include "referencescreen.h"

class QLineEdit;

namespace coop {

// A catalog of one table whose panel is a row of edit fields, one for each column it writes: the
// fields are cleared, shown, checked and written from the table of columns, so that such a screen
// states only its table, its columns and its rules.
class ColumnCatalog : public ReferenceScreen
{
    Q_OBJECT

protected:
    // A column of the table with the edit field that shows and writes it; the grid query's field
    // has the column's name.
    struct Column
    {
        QLineEdit *edit = nullptr;
        QString name;
    };

    using ReferenceScreen::ReferenceScreen;

    void setColumns(const QString &table, const QList<Column> &columns);

    void clearEntries() override;
    void showCurrentRow() override;
    // Every field filled in.
    bool entriesValid() const override;
    // Every value quoted as text; the server converts it for the column.
    QString insertStatement() const override;
    QString updateStatement(const QString &rowId) const override;

private:
    QString m_table;
    QList<Column> m_columns;
};

} // namespace coop
