#pragma once

#include "widgets/screen.h"

#include <QList>
#include <QStringList>

#include <optional>

class QAbstractButton;
class QLineEdit;
class QWidget;

namespace coop {

class DateTimePicker;
class DBGrid;
class IdComboBox;
class Query;

// The screen of a document with a header and its lines: receipts, distributions, shop audits,
// base audits and shop revenue. The upper grid lists headers, the lower the lines of the current
// header; each has its buttons and an edit panel whose controls are enabled only while a row is
// added or edited; a date filter narrows headers or lines; a sum button totals the lines.
//
// This class carries the steps every such screen shares. A screen gives it the table of what
// differs (Roles: which query, control and text plays each part) and its own statements through
// the virtual functions below; its particular buttons are its own handlers.
class DocumentScreen : public Screen
{
    Q_OBJECT

public:
    // What the open panel's accept button does; it changes only when a panel opens.
    int Tag = 0;

    enum class State { Browsing, HeaderEditing, LineEditing };
    State state() const { return m_state; }

protected:
    struct Panel
    {
        QAbstractButton *add = nullptr, *edit = nullptr, *remove = nullptr;
        QAbstractButton *accept = nullptr, *cancel = nullptr;
        QList<QWidget *> controls; // entry controls and their labels
        int insertMode = 0, updateMode = 0;
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
        DBGrid *headerGrid = nullptr;
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

    // --- what each screen writes ---------------------------------------------------------------
    // Fills the header panel for adding (editing false) or for editing the current header.
    virtual void prepareHeaderPanel(bool editing) { Q_UNUSED(editing); }
    // Runs the header's insert or update; false when the entry check refused (it told the user).
    virtual bool writeHeader(int mode) { Q_UNUSED(mode); return false; }
    virtual void clearHeaderPanel() {}
    virtual void deleteHeader(const QString &id) { Q_UNUSED(id); }
    virtual void prepareLinePanel(bool editing) { Q_UNUSED(editing); }
    virtual bool writeLine(int mode) { Q_UNUSED(mode); return false; }
    virtual void clearLinePanel() {}
    virtual void deleteLine(const QString &id) { Q_UNUSED(id); }

    // --- helpers for the screens' statements ---------------------------------------------------
    // Fills a combo box and its id list from a runner: every row's Id and text column, in the
    // server's order; no entry selected afterwards.
    static void fillComboBox(Query &runner, const QString &statement, const QString &textColumn, IdComboBox &combo);
    // Selects the entry whose id equals the value.
    static void selectId(IdComboBox &combo, const QString &id);
    // The id of the chosen entry; none when nothing is chosen or the text was typed to match no entry.
    static std::optional<QString> chosenId(const IdComboBox &combo);
    // Puts a statement into a runner (clearing its text, which closes it) and executes it.
    static void run(Query &runner, const QString &statement);
    // The current row's id of a query; none when it has no current row.
    static std::optional<QString> currentId(Query &query);
    // Tells the clerk that there is no row to work on.
    static void refuseWithoutRow();

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
    void reopen(Query &query);
    // Called wherever the program itself moves the current row of a query (posting, transfer, the
    // date filter, the document sum, printing): a panel that writes to that query's current row, or
    // to the lines of the current header, is closed as activation closes it, so that its accept
    // button cannot write over a row the clerk did not choose.
    void closePanelAfterMove(const Query &moved);

    Roles m_roles;

private:
    State m_state = State::Browsing;
};

} // namespace coop
