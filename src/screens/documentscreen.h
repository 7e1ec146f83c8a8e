#pragma once

#include "editmode.h"
#include "panelsteps.h"
#include "widgets/screen.h"

#include <QList>
#include <QStringList>

#include <cstddef>
#include <functional>
#include <optional>

class QAbstractButton;
class QLineEdit;
class QWidget;

namespace coop {

class DateTimePicker;
class DBGrid;
class Query;

// The screen of a document with a header and its lines: receipts, distributions, shop audits,
// base audits and shop revenue. The upper grid lists headers, the lower the lines of the current
// header; each has its buttons and an edit panel whose controls are enabled only while a row is
// added or edited; a date filter narrows headers or lines; a sum button totals the lines.
//
// This class carries the steps every such screen shares. A screen gives it the table of what
// differs (Roles: which query, control and text plays each part, and each panel's steps, which
// hold the panel's statements); its particular buttons are its own handlers.
class DocumentScreen : public Screen
{
    Q_OBJECT

public:
    // What the open panel's accept button does (the screen's Tag); it changes only when a panel opens.
    EditMode tag() const { return m_tag; }

    enum class State { Browsing, HeaderEditing, LineEditing };
    State state() const { return m_state; }

protected:
    struct Panel
    {
        PanelSteps *steps = nullptr;
        QAbstractButton *add = nullptr, *edit = nullptr, *remove = nullptr;
        QAbstractButton *accept = nullptr, *cancel = nullptr;
        QList<QWidget *> controls; // entry controls and their labels
        EditMode insertMode = EditMode::None, updateMode = EditMode::None;
        QString deleteCaption;     // of the delete question
        bool keepUpdatedRowCurrent = true; // false: after an update the first row is current, as after an insert
    };
    struct DateFilter
    {
        Query *query = nullptr;
        QString field;
        DateTimePicker *from = nullptr;
        DateTimePicker *to = nullptr; // none: one day, the date of `from`
        QAbstractButton *showAll = nullptr;
    };
    struct DocumentSum
    {
        QAbstractButton *total = nullptr, *clear = nullptr;
        QLineEdit *edit = nullptr;
        QString field = QStringLiteral("Suma");
    };
    struct Roles
    {
        Query *header = nullptr;
        Query *lines = nullptr;
        DBGrid *headerGrid = nullptr; // a header written or deleted puts the focus here
        DBGrid *linesGrid = nullptr;  // and a line written, here
        QStringList linesStatement; // the lines query's first lines; the header condition follows
        QString linesCondition;     // "and chonadishlo.IdNadhodgennya=" and the like
        std::optional<Panel> headerPanel;
        Panel linesPanel;
        DateFilter filter;
        DocumentSum sum;
        QAbstractButton *close = nullptr;
        bool escCancelsPanel = true; // false: the screen has no cancel button and Esc does nothing
    };

    explicit DocumentScreen(QWidget *parent = nullptr);
    // Wires the shared steps to the controls; called once by the screen's constructor.
    void setRoles(Roles roles);

    // --- the shared steps ----------------------------------------------------------------------
    void FormActivate() override;
    void headerScrolled();
    void headerAdd();
    void headerEdit();
    void headerAccept();
    void headerCancel();
    void headerDelete();
    void lineAdd();
    void lineEdit();
    void lineAccept();
    void lineCancel();
    void lineDelete();
    void dateFilterClosed();
    void showAll();
    void totalLines();
    void clearTotal();
    void closeScreen();

    void enterState(State state);
    // Called wherever the program itself moves the current row of a query (posting, transfer, the
    // date filter, the document sum, printing): a panel that writes to that query's current row, or
    // to the lines of the current header, is closed as activation closes it, so that its accept
    // button cannot write over a row the clerk did not choose.
    void closePanelAfterMove(const Query &moved);

    // Posting and transfer: `command` (one of the ledger's, given the lines as data) reports how
    // many of the current header's lines it has done. From its first report the grids stand still
    // and a progress dialog titled as the screen shows how far it has come (after half a second, so
    // that a short document does not flash it); the reload after the command moves both grids, so an
    // open panel closes then. A command refused before its lines reports nothing and closes nothing.
    using LinesDone = std::function<void(std::size_t linesDone)>;
    void runOverLines(const QString &progressText, const std::function<void(const LinesDone &)> &command);
    // The print buttons: with lines to print, both queries are read again and the document's
    // preview shown; without, the clerk is told `noLinesText`.
    void previewDocument(const QString &noLinesText, const std::function<void()> &preview);

    Roles m_roles;

private:
    // Add and edit open the panel (editing: with the current row of `query`) with the focus in its
    // first entry control, accept writes and closes it and puts the focus into the grid of what
    // it wrote, cancel closes it and gives the focus back to the button that opened it. `state` is
    // the panel's open state.
    void openPanel(const Panel &panel, State state, Query &query, bool editing);
    void acceptPanel(const Panel &panel, Query &query);
    void closePanel(const Panel &panel);
    void cancelPanel(const Panel &panel);

    State m_state = State::Browsing;
    EditMode m_tag = EditMode::None;
    QAbstractButton *m_opener = nullptr; // "Додати" or "Редагувати", whichever opened the panel
};

} // namespace coop
