#include "dbgrid.h"

#include "application.h"
#include "data/query.h"
#include "querymodel.h"

#include <QFontMetricsF>
#include <QHeaderView>
#include <QStyle>

#include <algorithm>
#include <utility>

namespace coop {

namespace {
// Room for the cell's margins and grid line beside the characters themselves.
constexpr int CellPadding = 4;

// The average character as DisplayWidth counts it: the width of ordinary text, that is the
// lowercase letters and the space weighted by how often they occur (the classic average of a
// font's metrics). Newer fonts state an average over all their glyphs, wide capitals and signs
// included, which would make every column a third wider than the screens were laid out for.
qreal averageCharacter(const QFontMetricsF &metrics)
{
    static constexpr int Weights[27] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6, 35, 20, 56,
                                        56, 17, 4,  49, 56, 71,  31, 10, 18, 3,  18, 2, 166};
    qreal sum = 0;
    for (int i = 0; i < 26; ++i)
        sum += Weights[i] * metrics.horizontalAdvance(QChar(u'a' + i));
    sum += Weights[26] * metrics.horizontalAdvance(QChar(u' '));
    return sum / 1000;
}
} // namespace

DBGrid::DBGrid(QWidget *parent) : QTableView(parent), m_model(new QueryModel(this))
{
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    // Tab goes on to the window's next control, as everywhere else on the screen; the arrow keys
    // move between rows and cells.
    setTabKeyNavigation(false);
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
    // A column is as wide as its field's DisplayWidth says, and never narrower than its title.
    // A date column holds its whole date, whose characters are digits.
    const QFontMetricsF cells(font());
    const qreal character = averageCharacter(cells);
    const qreal digit = cells.horizontalAdvance(u'0');
    const QFontMetrics titles(horizontalHeader()->font());
    const int titleMargins = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, horizontalHeader());
    for (int column = 0; column < m_model->columnCount(); ++column) {
        const Field *field = m_model->fieldAt(column);
        const qreal unit = field->dataType() == FieldType::Date ? digit : character;
        setColumnWidth(column, std::max(qRound(field->displayWidth() * unit) + CellPadding,
                                        titles.horizontalAdvance(field->displayLabel()) + titleMargins));
    }
}

} // namespace coop
