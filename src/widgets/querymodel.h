#pragma once

#include <QAbstractTableModel>
#include <QPointer>

#include "data/query.h"

#include <vector>

namespace coop {


// A query's rows and visible fields, in declared order, for a grid. Rows are read on demand
// without moving the query's current row, so a result of any size opens at once and painting never
// runs AfterScroll.
class QueryModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit QueryModel(QObject *parent = nullptr);

    void setQuery(Query *query);
    Query *query() const { return m_query; }
    const Field *fieldAt(int column) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    void reset();

    QPointer<Query> m_query;
    std::vector<const Field *> m_columns;
    int m_rows = 0;
    QMetaObject::Connection m_resetConnection;
};

} // namespace coop
