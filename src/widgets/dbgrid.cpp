#include "dbgrid.h"

#include "application.h"
#include "data/query.h"
#include "querymodel.h"

#include <QHeaderView>

#include <utility>

namespace coop {

namespace {
// Room for the cell's margins and grid line beside the characters themselves.
constexpr int CellPadding = 6;
} // namespace

DBGrid::DBGrid(QWidget *parent) : QTableView(parent), m_model(new QueryModel(this))
{
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setMinimumWidth(12);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    connect(m_model, &QAbstractItemModel::modelReset, this, &DBGrid::queryReset);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &DBGrid::cellChanged);
}

void DBGrid::setQuery(Query *query)
{
    disconnect(m_currentConnection);
    m_model->setQuery(query);
    if (query)
        m_currentConnection = connect(query, &Query::currentChanged, this, &DBGrid::queryMoved);
}

Query *DBGrid::query() const { return m_model->query(); }

QString DBGrid::selectedField() const
{
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    const Field *field = m_model->fieldAt(column);
    return field ? field->fieldName() : QString();
}

void DBGrid::queryReset()
{
    applyColumnWidths();
    if (Query *q = query(); q && q->active())
        showCurrentRow(q->recNo());
}

void DBGrid::queryMoved(int row) { showCurrentRow(row); }

void DBGrid::showCurrentRow(int row)
{
    const bool wasFollowing = std::exchange(m_following, true);
    if (row < 0 || row >= m_model->rowCount()) {
        selectionModel()->clearCurrentIndex();
        selectionModel()->clearSelection();
    } else {
        const int column = currentIndex().isValid() ? currentIndex().column() : 0;
        const QModelIndex cell = m_model->index(row, column);
        selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
        scrollTo(cell);
    }
    m_following = wasFollowing;
}

void DBGrid::cellChanged(const QModelIndex &current, const QModelIndex &previous)
{
    if (m_following || !current.isValid() || current.row() == previous.row())
        return;
    // The query's AfterScroll handler runs here, on the error path like every handler.
    if (Query *q = query(); q && q->active() && q->recNo() != current.row())
        runHandler([q, row = current.row()] { q->setRecNo(row); });
}

void DBGrid::applyColumnWidths()
{
    const int characterWidth = fontMetrics().averageCharWidth();
    for (int column = 0; column < m_model->columnCount(); ++column)
        setColumnWidth(column, m_model->fieldAt(column)->displayWidth() * characterWidth + CellPadding);
}

} // namespace coop
