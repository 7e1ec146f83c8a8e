#pragma once

#include "editmode.h"
#include "widgets/screen.h"

#include <QList>
#include <QString>

class QAbstractButton;

namespace coop {

class Database;
class DBGrid;
class IdComboBox;
class Query;
class ValueDialog;

// The design every catalog screen shares: a grid of catalog rows with search, filter and show-all
// above it, add, edit and delete below it, an edit panel that is enabled only while a row is being
// added or edited, the export and "Закрити". A screen describes which of its controls plays each
// role and what its rules are (queries, statements, checks, texts); the steps here do the rest, wired
// to the controls of the role table. Its own handlers are only those of its particular controls.
class ReferenceScreen : public Screen
{
    Q_OBJECT

public:
    // The edit mode kept in the screen's Tag: None before the first use, then Insert or Update.
    EditMode tag() const { return m_tag; }

    QList<Query *> storedOpenQueries() override { return {Query1}; }

    Query *Query1; // the grid
    Query *Query2; // the runner: the delete, and whatever else the screen gives no other query

protected:
    enum class Kind {
        SingleTable, // the condition line is appended on first use; a new condition replaces the old
        Joined,      // the third line is the join; conditions pile up on it until "Відобразити все"
    };

    // The buttons above the grid and "Закрити", which the catalogs lay out each in its own order:
    // "Пошук", "Фільтрація", "Відобразити все", "Експорт в Excel", "Закрити".
    struct Toolbar
    {
        QAbstractButton *search = nullptr, *filter = nullptr, *showAll = nullptr;
        QAbstractButton *exportButton = nullptr, *close = nullptr;
    };

    // The controls that play each role of the pattern.
    struct Roles
    {
        DBGrid *grid = nullptr;
        QAbstractButton *add = nullptr, *edit = nullptr, *remove = nullptr;
        QAbstractButton *accept = nullptr, *cancel = nullptr;
        Toolbar toolbar;
        QList<QWidget *> panel;        // entry controls and their labels
        QList<QWidget *> browsingOnly; // further controls that the editing state disables
        QList<IdComboBox *> choices;   // combo boxes whose chosen id the statements use
    };

    // The part of the role table that every catalog lays out alike: the grid is DBGrid1, and
    // "Додати", "Редагувати", "Видалити", "Прийняти" and the cancel button are BitBtn1 to BitBtn5.
    template <class Form>
    static Roles commonRoles(const Form &ui, const Toolbar &toolbar)
    {
        return {ui.DBGrid1, ui.BitBtn1, ui.BitBtn2, ui.BitBtn3, ui.BitBtn4, ui.BitBtn5, toolbar, {}, {}, {}};
    }

    // The rows of other tables that refer to a row, all by one column: before a delete, each table's
    // are counted on the runner given for it, or on Query2.
    struct Usage
    {
        QString column;
        QStringList tables;
        QList<Query *> runners;
    };

    // How "Видалити" ends when it deletes nothing: the refusal's text, and whether the grid is read
    // again after a refusal or a "No".
    struct Refusal
    {
        QString text;
        bool reload = false;
    };
    // The suppliers' and the departments' way: a milder text, and the grid read again.
    static inline const Refusal UsedElsewhere{QStringLiteral("Даний запис використовується в інших таблицях"), true};

    // What differs between the screens apart from their controls; the grid is Query1 and the delete
    // runs on Query2.
    struct Rules
    {
        QString table; // the table of the screen's rows
        Kind kind = Kind::SingleTable;
        QString showAllCondition; // joined screens: the third line that "Відобразити все" writes back
        QString entryCheckText = QStringLiteral("Введіть дані"); // the insert-mode check's message
        Query *writeRunner = nullptr;                             // Query2 unless another is named
        Usage usage;
        Refusal refusal{QStringLiteral("Неможливо видалити, запис зустрічається в інших таблицях!"), false};
        QString deleteKey = QStringLiteral("Id"); // the key column as the delete statement spells it
    };

    ReferenceScreen(Database &database, QWidget *parent);

public:
    // The search and filter dialogs the five screens share; given by the registry, which creates them
    // after the first two screens.
    void reach(ValueDialog &search, ValueDialog &filter);

protected:

    // Called once the screen's controls and queries exist.
    void setUp(const Roles &roles, const Rules &rules);

    Database &database() const { return m_database; }
    Query &gridQuery() const { return *Query1; }

    // The steps of the pattern, wired to the controls of the role table.
    void FormActivate() override; // A
    void addRow();                // B "Додати"
    void editRow();               // C "Редагувати"
    void acceptEntries();         // D "Прийняти"
    void cancelEntries();         // E the cancel button; the focus returns to the button that opened the panel
    void deleteRow();             // F "Видалити"
    void searchColumn();          // G "Пошук"
    void filterColumn();          // H "Фільтрація"
    void showAllRows();           // I "Відобразити все"
    void exportGrid();            // J "Експорт в Excel"
    void closeScreen();           // K "Закрити"

    // What each screen supplies.
    virtual void clearEntries() = 0;          // the panel's edit fields (not its combo boxes)
    virtual void clearChoices() {}            // the texts of the panel's combo boxes
    virtual void fillChoices() {}             // the panel's combo boxes, before adding or editing
    virtual void showCurrentRow() = 0;        // the current row into the entry controls
    virtual bool entriesValid() const = 0;    // the insert-mode entry check
    virtual QString insertStatement() const = 0;
    virtual QString updateStatement(const QString &rowId) const = 0;

    // Called where the program itself moves the grid's current row while the panel may be open (a
    // client-side filter picks the first row that passes): the panel closes as after "Відмінити", so
    // that an update cannot go to a row the clerk did not choose.
    void closePanelAfterMove();

private:
    enum class Condition { Equals, Contains };
    void applyCondition(Condition condition, ValueDialog &dialog);
    void setEditing(bool editing);
    void leaveEditing();
    bool choicesMade() const;

    Database &m_database;
    ValueDialog *m_search = nullptr;
    ValueDialog *m_filter = nullptr;
    Roles m_roles;
    Rules m_rules;
    EditMode m_tag = EditMode::None;
    QAbstractButton *m_opener = nullptr; // "Додати" or "Редагувати", whichever opened the panel
};

} // namespace coop
