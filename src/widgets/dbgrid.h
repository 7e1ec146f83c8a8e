#pragma once

#include <QTableView>

namespace coop {

class Query;
class QueryModel;

// A grid over a query: its visible fields in declared order, titled by DisplayLabel and as many
// average characters wide as DisplayWidth says. Clicking a row makes it the query's current row
// (running AfterScroll); moving the query's current row moves the grid's selection. Nothing is
// edited in place. Tab leaves the grid for the window's next control.
class DBGrid : public QTableView
{
    Q_OBJECT

public:
    explicit DBGrid(QWidget *parent = nullptr);

    void setQuery(Query *query);
    Query *query() const;
    // The field name of the selected column; the first column's when none is selected.
    QString selectedField() const;

private:
    void queryReset();
    void queryMoved(int row);
    void cellChanged(const QModelIndex &current, const QModelIndex &previous);
    void applyColumnWidths();
    void showCurrentRow(int row);

    QueryModel *m_model;
    bool m_following = false; // while the grid follows the query, its own moves are not sent back
    QMetaObject::Connection m_currentConnection;
};

} // namespace coop
