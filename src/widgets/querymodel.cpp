#include "querymodel.h"

#include "data/query.h"

namespace coop {

QueryModel::QueryModel(QObject *parent) : QAbstractTableModel(parent) {}

void QueryModel::setQuery(Query *query)
{
    disconnect(m_resetConnection);
    m_query = query;
    if (query)
        m_resetConnection = connect(query, &Query::dataReset, this, &QueryModel::reset);
    reset();
}

void QueryModel::reset()
{
    beginResetModel();
    m_columns.clear();
    m_rows = 0;
    if (m_query) {
        for (int i = 0; i < m_query->fieldCount(); ++i)
            if (m_query->field(i)->visible())
                m_columns.push_back(m_query->field(i));
        if (m_query->active())
            m_rows = m_query->recordCount();
    }
    endResetModel();
}

const Field *QueryModel::fieldAt(int column) const
{
    return column >= 0 && size_t(column) < m_columns.size() ? m_columns[size_t(column)] : nullptr;
}

int QueryModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_rows; }

int QueryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant QueryModel::data(const QModelIndex &index, int role) const
{
    const Field *field = fieldAt(index.column());
    if (!m_query || !field || index.row() >= m_rows)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return m_query->displayText(index.row(), field);
    case Qt::TextAlignmentRole: {
        const bool number = field->dataType() == FieldType::Integer || field->dataType() == FieldType::Float;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    default:
        return {};
    }
}

QVariant QueryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && (role == Qt::DisplayRole || role == Qt::AccessibleTextRole))
        if (const Field *field = fieldAt(section))
            return field->displayLabel();
    return {};
}

Qt::ItemFlags QueryModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace coop
