#include "columncatalog.h"

#include "data/format.h"
#include "data/query.h"
#include "screenhelpers.h"
#include "widgets/idcombobox.h"
#include "widgets/maskedit.h"

#include <algorithm>

namespace coop {

namespace {

// A masked field hides the line edit's text with its own, which holds blanks instead of the
// displayed placeholders; a combo box gives the id of the row chosen.
QString entryText(const QWidget *control)
{
    if (const auto *masked = qobject_cast<const MaskEdit *>(control))
        return masked->text();
    if (const auto *box = qobject_cast<const IdComboBox *>(control))
        return box->selectedId();
    return static_cast<const QLineEdit *>(control)->text();
}

void setEntryText(QLineEdit *edit, const QString &text)
{
    if (auto *masked = qobject_cast<MaskEdit *>(edit))
        masked->setText(text);
    else
        edit->setText(text);
}

} // namespace

void ColumnCatalog::setUpTable(Roles roles, const Table &table)
{
    m_table = table.name;
    Query1->sql().setLines(table.grid);
    Query1->addField(table.key);
    for (const Column &column : table.columns) {
        Query1->addField(column.field);
        if (!column.control)
            continue;
        m_columns << column;
        roles.panel << column.control;
        if (column.label)
            roles.panel << column.label;
        if (auto *box = qobject_cast<IdComboBox *>(column.control))
            roles.choices << box;
    }
    roles.browsingOnly = table.browsingOnly;
    Rules rules = table.rules;
    rules.table = table.name;
    ReferenceScreen::setUp(roles, rules);
}

void ColumnCatalog::clearEntries()
{
    for (const Column &column : std::as_const(m_columns))
        if (auto *edit = qobject_cast<QLineEdit *>(column.control))
            setEntryText(edit, QString());
}

void ColumnCatalog::clearChoices()
{
    for (const Column &column : std::as_const(m_columns))
        if (auto *box = qobject_cast<IdComboBox *>(column.control))
            box->setCurrentIndex(-1);
}

void ColumnCatalog::fillChoices()
{
    for (const Column &column : std::as_const(m_columns))
        if (auto *box = qobject_cast<IdComboBox *>(column.control)) {
            const Choice &choice = column.choice;
            fillIdComboBox(*box, choice.runner ? *choice.runner : *Query2, choice.statement, choice.textColumn);
        }
}

void ColumnCatalog::showCurrentRow()
{
    for (const Column &column : std::as_const(m_columns)) {
        const QString value = gridQuery().fieldByName(column.field.fieldName)->asString();
        if (auto *box = qobject_cast<IdComboBox *>(column.control))
            selectId(*box, value);
        else
            setEntryText(static_cast<QLineEdit *>(column.control), value);
    }
}

bool ColumnCatalog::entriesValid() const
{
    return std::ranges::none_of(m_columns, [](const Column &column) {
        return qobject_cast<const QLineEdit *>(column.control) && entryText(column.control).isEmpty();
    });
}

QString ColumnCatalog::insertStatement() const
{
    QStringList names;
    QStringList values;
    for (const Column &column : m_columns) {
        names << column.field.fieldName;
        values << QuoteSqlText(entryText(column.control));
    }
    return QStringLiteral("INSERT INTO ") + m_table + QStringLiteral(" (") + names.join(u',') + QStringLiteral(") values(")
        + values.join(u',') + u')';
}

QString ColumnCatalog::updateStatement(const QString &rowId) const
{
    QStringList assignments;
    for (const Column &column : m_columns)
        assignments << column.field.fieldName + u'=' + QuoteSqlText(entryText(column.control));
    return QStringLiteral("Update ") + m_table + QStringLiteral(" Set ") + assignments.join(QStringLiteral(", "))
        + QStringLiteral(" Where Id=") + rowId;
}

} // namespace coop
