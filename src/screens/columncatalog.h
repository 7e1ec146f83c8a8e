#pragma once

#include "data/field.h"
#include "referencescreen.h"

namespace coop {

// A catalog of one table whose panel is a row of controls, one for each column it writes: a line
// edit, or a combo box that chooses a row of another catalog. The grid's fields, the panel and the
// entries are cleared, shown, checked and written from the table of columns, so that such a screen
// states only its table of differences and overrides what its statements do otherwise.
class ColumnCatalog : public ReferenceScreen
{
    Q_OBJECT

protected:
    // Where a combo box takes its entries from: the statement that lists the rows (on Query2 unless
    // another runner is named) and the column whose text it shows.
    struct Choice
    {
        QString statement;
        QString textColumn;
        Query *runner = nullptr;
    };

    // A field of the grid query and, when the panel writes its column, the control and its label; the
    // column has the field's name. A field only shown in the grid has no control.
    struct Column
    {
        QWidget *label = nullptr;
        QWidget *control = nullptr;
        FieldDef field;
        Choice choice; // combo boxes only
    };

    // What a catalog of one table states about itself; the rest is the pattern's.
    struct Table
    {
        QString name;
        QStringList grid; // the grid query's lines
        FieldDef key{QStringLiteral("Id"), FieldType::Integer, 0, QStringLiteral("Код"), 6};
        QList<Column> columns; // the grid's fields after the key, in the grid's order
        Toolbar toolbar;
        QList<QWidget *> browsingOnly; // further controls that the editing state disables
        Rules rules; // their table is the catalog's
    };

    using ReferenceScreen::ReferenceScreen;

    // Called once the screen's controls exist.
    template <class Form>
    void setUp(const Form &ui, const Table &table)
    {
        setUpTable(commonRoles(ui, table.toolbar), table);
    }

    void clearEntries() override;
    void clearChoices() override;
    void fillChoices() override;
    void showCurrentRow() override;
    // Every edit field filled in.
    bool entriesValid() const override;
    // Every value quoted as text; the server converts it for the column.
    QString insertStatement() const override;
    QString updateStatement(const QString &rowId) const override;

private:
    void setUpTable(Roles roles, const Table &table);

    QString m_table;
    QList<Column> m_columns; // those the panel writes
};

} // namespace coop
