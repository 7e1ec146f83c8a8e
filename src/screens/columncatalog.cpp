#include "columncatalog.h"

#include "data/format.h"
#include "data/query.h"
#include "widgets/maskedit.h"

#include <algorithm>

namespace coop {

namespace {

// A masked field hides the line edit's text with its own, which holds blanks instead of the
// displayed placeholders.
QString entryText(const QLineEdit *edit)
{
    if (const auto *masked = qobject_cast<const MaskEdit *>(edit))
        return masked->text();
    return edit->text();
}

void setEntryText(QLineEdit *edit, const QString &text)
{
    if (auto *masked = qobject_cast<MaskEdit *>(edit))
        masked->setText(text);
    else
        edit->setText(text);
}

} // namespace

void ColumnCatalog::setColumns(const QString &table, const QList<Column> &columns)
{
    m_table = table;
    m_columns = columns;
}

void ColumnCatalog::clearEntries()
{
    for (const Column &column : std::as_const(m_columns))
        setEntryText(column.edit, QString());
}

void ColumnCatalog::showCurrentRow()
{
    for (const Column &column : std::as_const(m_columns))
        setEntryText(column.edit, gridQuery().fieldByName(column.name)->asString());
}

bool ColumnCatalog::entriesValid() const
{
    return std::ranges::none_of(m_columns, [](const Column &column) { return entryText(column.edit).isEmpty(); });
}

QString ColumnCatalog::insertStatement() const
{
    QStringList names;
    QStringList values;
    for (const Column &column : m_columns) {
        names << column.name;
        values << QuoteSqlText(entryText(column.edit));
    }
    return QStringLiteral("INSERT INTO ") + m_table + QStringLiteral(" (") + names.join(u',') + QStringLiteral(") values(")
        + values.join(u',') + u')';
}

QString ColumnCatalog::updateStatement(const QString &rowId) const
{
    QStringList assignments;
    for (const Column &column : m_columns)
        assignments << column.name + u'=' + QuoteSqlText(entryText(column.edit));
    return QStringLiteral("Update ") + m_table + QStringLiteral(" Set ") + assignments.join(QStringLiteral(", "))
        + QStringLiteral(" Where Id=") + rowId;
}

} // namespace coop
