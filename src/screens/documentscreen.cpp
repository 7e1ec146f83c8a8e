#include "documentscreen.h"

#include "data/databaseerror.h"
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

// A screen without a header panel has none of its buttons, so these are never reached there.
void DocumentScreen::prepareHeaderPanel(bool) { throw Error(QStringLiteral("The screen has no header panel")); }
bool DocumentScreen::writeHeader(bool) { throw Error(QStringLiteral("The screen has no header panel")); }
void DocumentScreen::clearHeaderPanel() { throw Error(QStringLiteral("The screen has no header panel")); }
void DocumentScreen::deleteHeader(const QString &) { throw Error(QStringLiteral("The screen has no header panel")); }

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
        clearHeaderPanel();
    clearLinePanel();
    enterState(State::Browsing);
}

void DocumentScreen::closePanelAfterMove(const Query &moved)
{
    // An edited header is the current one, and lines follow their header: a moved header closes
    // either panel, moved lines only the lines panel.
    if (m_state == State::HeaderEditing && &moved == m_roles.header)
        clearHeaderPanel();
    else if (m_state == State::LineEditing)
        clearLinePanel();
    else
        return;
    enterState(State::Browsing);
}

void DocumentScreen::walkLines(const QString &progressText, const std::function<void()> &eachLine)
{
    Query &lines = *m_roles.lines;
    closePanelAfterMove(*m_roles.header);
    const ControlsDisabled still(lines);
    const int count = lines.recordCount();

    QProgressDialog progress(progressText, QString(), 0, count, this);
    progress.setWindowTitle(windowTitle());
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(500);

    lines.first();
    for (int line = 0; line < count; ++line) {
        eachLine();
        lines.next();
        if (line % 16 == 0)
            progress.setValue(line);
    }
    progress.setValue(count);
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

void DocumentScreen::headerAdd()
{
    prepareHeaderPanel(false);
    enterState(State::HeaderEditing);
    m_tag = m_roles.headerPanel->insertMode;
}

void DocumentScreen::headerEdit()
{
    if (!currentRowId(*m_roles.header))
        return refuseWithoutRow();
    prepareHeaderPanel(true);
    enterState(State::HeaderEditing);
    m_tag = m_roles.headerPanel->updateMode;
}

void DocumentScreen::headerAccept()
{
    const Panel &panel = *m_roles.headerPanel;
    if (m_tag == panel.insertMode || m_tag == panel.updateMode) {
        if (m_tag == panel.updateMode && !currentRowId(*m_roles.header))
            return refuseWithoutRow();
        if (!writeHeader(m_tag == panel.insertMode))
            return; // refused: the panel stays open with its values
        // Written: the panel closes before the reload, so that a reload that fails cannot leave
        // "Прийняти" at hand to write the header a second time.
        clearHeaderPanel();
        enterState(State::Browsing);
        reopen(*m_roles.header);
        return;
    }
    clearHeaderPanel();
    enterState(State::Browsing);
}

void DocumentScreen::headerCancel()
{
    clearHeaderPanel();
    enterState(State::Browsing);
}

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
    deleteHeader(*id);
    reopen(header);
    if (!header.isEmpty())
        header.locate(QStringLiteral("Id"), returnPosition);
    if (m_roles.headerGrid)
        m_roles.headerGrid->setFocus();
}

void DocumentScreen::lineAdd()
{
    prepareLinePanel(false);
    enterState(State::LineEditing);
    m_tag = m_roles.linesPanel.insertMode;
}

void DocumentScreen::lineEdit()
{
    if (!currentRowId(*m_roles.lines))
        return refuseWithoutRow();
    prepareLinePanel(true);
    enterState(State::LineEditing);
    m_tag = m_roles.linesPanel.updateMode;
}

void DocumentScreen::lineAccept()
{
    const Panel &panel = m_roles.linesPanel;
    Query &lines = *m_roles.lines;
    if (m_tag == panel.insertMode || m_tag == panel.updateMode) {
        // A line belongs to the header current at this moment; without one it has nowhere to go.
        if (!currentRowId(*m_roles.header))
            return refuseWithoutRow();
        const std::optional<QString> lineId = m_tag == panel.updateMode ? currentRowId(lines) : std::nullopt;
        if (m_tag == panel.updateMode && !lineId)
            return refuseWithoutRow();
        if (!writeLine(m_tag == panel.insertMode))
            return;
        // Written: as for a header, the panel closes before the reload.
        clearLinePanel();
        enterState(State::Browsing);
        reopen(lines);
        if (lineId && panel.keepUpdatedRowCurrent)
            lines.locate(QStringLiteral("Id"), *lineId);
        return;
    }
    clearLinePanel();
    enterState(State::Browsing);
}

void DocumentScreen::lineCancel()
{
    clearLinePanel();
    enterState(State::Browsing);
}

void DocumentScreen::lineDelete()
{
    const std::optional<QString> id = currentRowId(*m_roles.lines);
    if (!id)
        return refuseWithoutRow();
    if (messageBox(m_roles.linesPanel.deleteCaption, QStringLiteral("Ви дійсно хочете видалити запис?"),
                   MessageButton::Yes | MessageButton::No, MessageIcon::Question) == mrYes)
        deleteLine(*id);
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
