#include "documentscreen.h"

#include "data/format.h"
#include "data/query.h"
#include "screenhelpers.h"
#include "widgets/datetimepicker.h"
#include "widgets/dbgrid.h"
#include "widgets/handler.h"
#include "widgets/idcombobox.h"
#include "widgets/messages.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QProgressDialog>

#include <memory>
#include <optional>

namespace coop {

DocumentScreen::DocumentScreen(QWidget *parent) : Screen(parent) {}

void DocumentScreen::setRoles(Roles roles)
{
    m_roles = std::move(roles);
    const Roles &r = m_roles;
    onEvent(r.header, QueryEvent::AfterScroll, this, &DocumentScreen::headerScrolled);
    if (r.headerPanel) {
        onEvent(r.headerPanel->add, &QAbstractButton::clicked, this, &DocumentScreen::headerAdd);
        onEvent(r.headerPanel->edit, &QAbstractButton::clicked, this, &DocumentScreen::headerEdit);
        onEvent(r.headerPanel->remove, &QAbstractButton::clicked, this, &DocumentScreen::headerDelete);
        onEvent(r.headerPanel->accept, &QAbstractButton::clicked, this, &DocumentScreen::headerAccept);
        onEvent(r.headerPanel->cancel, &QAbstractButton::clicked, this, &DocumentScreen::headerCancel);
    }
    onEvent(r.linesPanel.add, &QAbstractButton::clicked, this, &DocumentScreen::lineAdd);
    onEvent(r.linesPanel.edit, &QAbstractButton::clicked, this, &DocumentScreen::lineEdit);
    onEvent(r.linesPanel.remove, &QAbstractButton::clicked, this, &DocumentScreen::lineDelete);
    onEvent(r.linesPanel.accept, &QAbstractButton::clicked, this, &DocumentScreen::lineAccept);
    onEvent(r.linesPanel.cancel, &QAbstractButton::clicked, this, &DocumentScreen::lineCancel);
    if (r.filter.from)
        onEvent(r.filter.from, &DateTimePicker::closeUp, this, &DocumentScreen::dateFilterClosed);
    if (r.filter.to)
        onEvent(r.filter.to, &DateTimePicker::closeUp, this, &DocumentScreen::dateFilterClosed);
    if (r.filter.showAll)
        onEvent(r.filter.showAll, &QAbstractButton::clicked, this, &DocumentScreen::showAll);
    if (r.sum.total)
        onEvent(r.sum.total, &QAbstractButton::clicked, this, &DocumentScreen::totalLines);
    if (r.sum.clear)
        onEvent(r.sum.clear, &QAbstractButton::clicked, this, &DocumentScreen::clearTotal);
    onEvent(r.close, &QAbstractButton::clicked, this, &DocumentScreen::closeScreen);
    enterState(State::Browsing);
}

// --- states ----------------------------------------------------------------------------------

void DocumentScreen::enterState(State state)
{
    m_state = state;
    const bool browsing = state == State::Browsing;
    const auto setButtons = [browsing](const Panel &panel) {
        for (QAbstractButton *button : {panel.add, panel.edit, panel.remove})
            button->setEnabled(browsing);
    };
    const auto setPanel = [](const Panel &panel, bool open) {
        for (QWidget *control : panel.controls)
            control->setEnabled(open);
        panel.accept->setEnabled(open);
        panel.cancel->setEnabled(open);
    };
    if (m_roles.headerPanel) {
        setButtons(*m_roles.headerPanel);
        setPanel(*m_roles.headerPanel, state == State::HeaderEditing);
    }
    setButtons(m_roles.linesPanel);
    setPanel(m_roles.linesPanel, state == State::LineEditing);
    // Esc presses whichever cancel button is enabled.
    if (!m_roles.escCancelsPanel)
        setCancelButton(nullptr);
    else if (state == State::HeaderEditing)
        setCancelButton(m_roles.headerPanel->cancel);
    else if (state == State::LineEditing)
        setCancelButton(m_roles.linesPanel.cancel);
    else
        setCancelButton(nullptr);
}

// --- the steps -------------------------------------------------------------------------------

void DocumentScreen::FormActivate()
{
    // Open what is closed; re-read nothing; abandon an open panel.
    m_roles.header->open();
    m_roles.lines->open();
    if (m_roles.headerPanel)
        m_roles.headerPanel->steps->clear();
    m_roles.linesPanel.steps->clear();
    enterState(State::Browsing);
}

void DocumentScreen::closePanelAfterMove(const Query &moved)
{
    // An edited header is the current one, and lines follow their header: a moved header closes
    // either panel, moved lines only the lines panel.
    if (m_state == State::HeaderEditing && &moved == m_roles.header)
        closePanel(*m_roles.headerPanel);
    else if (m_state == State::LineEditing)
        closePanel(m_roles.linesPanel);
}

void DocumentScreen::runOverLines(const QString &progressText, const std::function<void(const LinesDone &)> &command)
{
    Query &lines = *m_roles.lines;
    const int count = lines.recordCount();
    std::optional<ControlsDisabled> still;
    std::unique_ptr<QProgressDialog> progress;
    command([&](std::size_t done) {
        if (!progress) {
            closePanelAfterMove(*m_roles.header);
            still.emplace(lines);
            progress = std::make_unique<QProgressDialog>(progressText, QString(), 0, count, this);
            progress->setWindowTitle(windowTitle());
            progress->setWindowModality(Qt::ApplicationModal);
            progress->setMinimumDuration(500);
        }
        if (done % 16 == 0)
            progress->setValue(int(done));
    });
    if (progress)
        progress->setValue(count);
}

void DocumentScreen::previewDocument(const QString &noLinesText, const std::function<void()> &preview)
{
    Query &lines = *m_roles.lines;
    if (!lines.active() || lines.isEmpty()) {
        showMessage(noLinesText);
        return;
    }
    m_roles.header->open();
    lines.open();
    closePanelAfterMove(lines); // printing walks the lines to the last
    if (preview)
        preview();
}

void DocumentScreen::headerScrolled()
{
    m_roles.lines->close();
    if (m_roles.header->isEmpty())
        return; // the lines query stays closed and the lines grid empty
    QStringList statement = m_roles.linesStatement;
    statement.append(m_roles.linesCondition + m_roles.header->fieldByName(QStringLiteral("id"))->asString());
    m_roles.lines->sql().setLines(statement);
    m_roles.lines->open();
}

void DocumentScreen::openPanel(const Panel &panel, State state, Query &query, bool editing)
{
    if (editing && !currentRowId(query))
        return refuseWithoutRow();
    panel.steps->prepare(editing);
    enterState(state);
    m_tag = editing ? panel.updateMode : panel.insertMode;
    m_opener = editing ? panel.edit : panel.add;
    focusFirstEntry(*panel.accept->parentWidget());
}

void DocumentScreen::acceptPanel(const Panel &panel, Query &query)
{
    if (m_tag != panel.insertMode && m_tag != panel.updateMode)
        return closePanel(panel);
    const bool lines = &query == m_roles.lines;
    // A line belongs to the header current at this moment; without one it has nowhere to go.
    if (lines && !currentRowId(*m_roles.header))
        return refuseWithoutRow();
    const bool inserting = m_tag == panel.insertMode;
    const std::optional<QString> rowId = inserting ? std::nullopt : currentRowId(query);
    if (!inserting && !rowId)
        return refuseWithoutRow();
    if (!panel.steps->write(inserting))
        return; // refused: the panel stays open with its values
    // Written: the panel closes before the reload, so that a reload that fails cannot leave
    // "Прийняти" at hand to write the row a second time.
    closePanel(panel);
    if (DBGrid *grid = lines ? m_roles.linesGrid : m_roles.headerGrid)
        grid->setFocus(Qt::OtherFocusReason);
    reopen(query);
    if (lines && rowId && panel.keepUpdatedRowCurrent)
        query.locate(QStringLiteral("Id"), *rowId);
}

void DocumentScreen::closePanel(const Panel &panel)
{
    panel.steps->clear();
    enterState(State::Browsing);
}

void DocumentScreen::headerAdd() { openPanel(*m_roles.headerPanel, State::HeaderEditing, *m_roles.header, false); }
void DocumentScreen::headerEdit() { openPanel(*m_roles.headerPanel, State::HeaderEditing, *m_roles.header, true); }
void DocumentScreen::headerAccept() { acceptPanel(*m_roles.headerPanel, *m_roles.header); }
void DocumentScreen::cancelPanel(const Panel &panel)
{
    closePanel(panel);
    if (m_opener)
        m_opener->setFocus(Qt::OtherFocusReason);
}

void DocumentScreen::headerCancel() { cancelPanel(*m_roles.headerPanel); }
void DocumentScreen::lineAdd() { openPanel(m_roles.linesPanel, State::LineEditing, *m_roles.lines, false); }
void DocumentScreen::lineEdit() { openPanel(m_roles.linesPanel, State::LineEditing, *m_roles.lines, true); }
void DocumentScreen::lineAccept() { acceptPanel(m_roles.linesPanel, *m_roles.lines); }
void DocumentScreen::lineCancel() { cancelPanel(m_roles.linesPanel); }

void DocumentScreen::headerDelete()
{
    Query &header = *m_roles.header;
    const std::optional<QString> id = currentRowId(header);
    if (!id)
        return refuseWithoutRow();
    if (messageBox(m_roles.headerPanel->deleteCaption, QStringLiteral("Ви дійсно хочете видалити запис?"),
                   MessageButton::Yes | MessageButton::No, MessageIcon::Question) != mrYes)
        return;
    // Where to stand afterwards: the header that follows, or the one before the last.
    if (header.moveBy(1) == 0)
        header.moveBy(-1);
    const QString returnPosition = header.fieldByName(QStringLiteral("id"))->asString();
    m_roles.headerPanel->steps->remove(*id);
    reopen(header);
    if (!header.isEmpty())
        header.locate(QStringLiteral("Id"), returnPosition);
    if (m_roles.headerGrid)
        m_roles.headerGrid->setFocus();
}

void DocumentScreen::lineDelete()
{
    const std::optional<QString> id = currentRowId(*m_roles.lines);
    if (!id)
        return refuseWithoutRow();
    if (messageBox(m_roles.linesPanel.deleteCaption, QStringLiteral("Ви дійсно хочете видалити запис?"),
                   MessageButton::Yes | MessageButton::No, MessageIcon::Question) == mrYes)
        m_roles.linesPanel.steps->remove(*id);
    reopen(*m_roles.lines);
}

void DocumentScreen::dateFilterClosed()
{
    const DateFilter &filter = m_roles.filter;
    QString expression;
    if (filter.to)
        expression = filter.field + QStringLiteral(">='") + LocaleDateText(filter.from->date()) + QStringLiteral("' and ")
            + filter.field + QStringLiteral("<='") + LocaleDateText(filter.to->date()) + u'\'';
    else
        expression = filter.field + u'=' + QuoteSqlText(LocaleDateText(filter.from->date()));
    filter.query->setFilter(expression);
    filter.query->setFiltered(true);
    closePanelAfterMove(*filter.query);
}

void DocumentScreen::showAll()
{
    m_roles.filter.query->setFiltered(false);
    closePanelAfterMove(*m_roles.filter.query);
}

void DocumentScreen::totalLines()
{
    Query &lines = *m_roles.lines;
    double total = 0;
    if (lines.active()) {
        closePanelAfterMove(lines); // the walk leaves the last line current
        const Field *sum = lines.fieldByName(m_roles.sum.field);
        lines.first();
        for (int i = lines.recordCount(); i > 0; --i) {
            total += sum->asFloat();
            lines.next();
        }
    }
    m_roles.sum.edit->setText(LocaleNumberText(total));
}

void DocumentScreen::clearTotal() { m_roles.sum.edit->clear(); }

void DocumentScreen::closeScreen() { close(); }

} // namespace coop
