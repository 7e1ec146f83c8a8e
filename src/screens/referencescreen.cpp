#include "referencescreen.h"

#include "data/databaseerror.h"
#include "data/format.h"
#include "data/query.h"
#include "gridexport.h"
#include "screenhelpers.h"
#include "valuedialog.h"
#include "widgets/dbgrid.h"
#include "widgets/handler.h"
#include "widgets/idcombobox.h"
#include "widgets/messages.h"

#include <QAbstractButton>
#include <QLineEdit>

namespace coop {

namespace {

constexpr int ConditionLine = 2;
const QString BlankConditionLine = QStringLiteral(" ");

// The fragment anywhere in the column. The server reads a backslash in a LIKE pattern as its escape
// character even where string literals have none, so a typed backslash is doubled to stand for
// itself; "%" and "_" keep their meaning as wildcards.
QString likePattern(const QString &fragment)
{
    return u'%' + QString(fragment).replace(u'\\', QStringLiteral("\\\\")) + u'%';
}

} // namespace

ReferenceScreen::ReferenceScreen(Database &database, QWidget *parent)
    : Screen(parent), Query1(makeQuery(database, "Query1")), Query2(makeQuery(database, "Query2")), m_database(database)
{
}

void ReferenceScreen::setUp(const Roles &roles, const Rules &rules)
{
    m_roles = roles;
    m_rules = rules;
    if (!m_rules.writeRunner)
        m_rules.writeRunner = Query2;
    m_roles.grid->setQuery(Query1);
    const Roles &r = m_roles;
    const Toolbar &t = r.toolbar;
    onEvent(r.add, &QAbstractButton::clicked, this, &ReferenceScreen::addRow);
    onEvent(r.edit, &QAbstractButton::clicked, this, &ReferenceScreen::editRow);
    onEvent(r.remove, &QAbstractButton::clicked, this, &ReferenceScreen::deleteRow);
    onEvent(r.accept, &QAbstractButton::clicked, this, &ReferenceScreen::acceptEntries);
    onEvent(r.cancel, &QAbstractButton::clicked, this, &ReferenceScreen::cancelEntries);
    onEvent(t.search, &QAbstractButton::clicked, this, &ReferenceScreen::searchColumn);
    onEvent(t.filter, &QAbstractButton::clicked, this, &ReferenceScreen::filterColumn);
    onEvent(t.showAll, &QAbstractButton::clicked, this, &ReferenceScreen::showAllRows);
    onEvent(t.exportButton, &QAbstractButton::clicked, this, &ReferenceScreen::exportGrid);
    onEvent(t.close, &QAbstractButton::clicked, this, &ReferenceScreen::closeScreen);
}

// Activation: the screen is always seen browsing, with an empty, disabled panel, however it was
// left (a screen closed through its title bar with the panel open comes back usable). The grid
// query is opened last, so that a condition the server refuses leaves "Відобразити все" at hand.
void ReferenceScreen::FormActivate()
{
    const bool panelWasOpen = m_roles.accept->isEnabled();
    clearEntries();
    if (panelWasOpen)
        clearChoices();
    setEditing(false);
    if (!gridQuery().active())
        gridQuery().open();
}

void ReferenceScreen::addRow()
{
    fillChoices();
    clearEntries();
    setEditing(true);
    m_tag = EditMode::Insert;
    m_opener = m_roles.add;
    focusFirstEntry(*m_roles.accept->parentWidget());
}

void ReferenceScreen::editRow()
{
    if (!currentRowId(gridQuery()))
        return refuseWithoutRow();
    fillChoices();
    showCurrentRow();
    setEditing(true);
    m_tag = EditMode::Update;
    m_opener = m_roles.edit;
    focusFirstEntry(*m_roles.accept->parentWidget());
}

void ReferenceScreen::acceptEntries()
{
    if (m_tag == EditMode::Insert) {
        if (!entriesValid() || !choicesMade())
            return refuse(m_rules.entryCheckText);
        runStatement(*m_rules.writeRunner, insertStatement());
    } else if (m_tag == EditMode::Update) {
        if (!choicesMade())
            return refuse(m_rules.entryCheckText);
        const std::optional<QString> id = currentRowId(gridQuery());
        if (!id)
            return refuseWithoutRow();
        runStatement(*m_rules.writeRunner, updateStatement(*id));
    }
    // Once the server has taken the row the panel closes, before the reload: a reload that fails
    // shows its error but cannot leave "Прийняти" at hand to write the row a second time.
    leaveEditing();
    if (m_tag == EditMode::Insert || m_tag == EditMode::Update)
        reopen(gridQuery());
    m_roles.grid->setFocus();
}

void ReferenceScreen::leaveEditing()
{
    clearEntries();
    clearChoices();
    setEditing(false);
}

void ReferenceScreen::closePanelAfterMove()
{
    if (m_roles.accept->isEnabled())
        leaveEditing();
}

// The panel's controls are disabled with the focus among them: it goes back to the button that
// opened the panel, where the clerk was before.
void ReferenceScreen::cancelEntries()
{
    leaveEditing();
    if (m_opener)
        m_opener->setFocus(Qt::OtherFocusReason);
}

void ReferenceScreen::deleteRow()
{
    const std::optional<QString> id = currentRowId(gridQuery());
    if (!id)
        return refuseWithoutRow();
    // Every count is taken before anything is decided.
    bool referred = false;
    const Usage &usage = m_rules.usage;
    for (qsizetype i = 0; i < usage.tables.size(); ++i) {
        Query &runner = i < usage.runners.size() ? *usage.runners[i] : *Query2;
        runner.close();
        runner.sql().clear();
        runner.sql().add(QStringLiteral("SELECT COUNT(*) From ") + usage.tables[i] + QStringLiteral(" where ")
                         + usage.tables[i] + u'.' + usage.column + u'=' + *id + u';');
        runner.open();
        referred = runner.fieldByName(QStringLiteral("COUNT(*)"))->asInteger() != 0 || referred;
    }

    if (referred) {
        messageBox(QStringLiteral("Помилка!"), m_rules.refusal.text, MessageButton::Ok, MessageIcon::Error);
    } else if (messageBox(QStringLiteral("Увага!!!"), QStringLiteral("Ви дійсно хочете видалити запис?"),
                          MessageButton::Yes | MessageButton::No, MessageIcon::Question)
               == mrYes) {
        runStatement(*Query2, QStringLiteral("DELETE FROM ") + m_rules.table + QStringLiteral(" WHERE ") + m_rules.table + u'.'
                                  + m_rules.deleteKey + u'=' + *id + u';');
        reopen(gridQuery());
        return;
    }
    if (m_rules.refusal.reload)
        reopen(gridQuery());
}

void ReferenceScreen::reach(ValueDialog &search, ValueDialog &filter)
{
    m_search = &search;
    m_filter = &filter;
}

void ReferenceScreen::searchColumn() { applyCondition(Condition::Equals, *m_search); }

void ReferenceScreen::filterColumn() { applyCondition(Condition::Contains, *m_filter); }

// The typed value always goes into the statement as one quoted literal, so that an apostrophe is
// searched for like any other character and the clerk's text can never change the statement. The
// field name is the grid's own and goes in bare, but for the key of a joined screen, which every
// table of its join has and which the server would refuse as ambiguous.
void ReferenceScreen::applyCondition(Condition condition, ValueDialog &dialog)
{
    QString fieldName = m_roles.grid->selectedField();
    if (m_rules.kind == Kind::Joined && fieldName.compare(QLatin1String("id"), Qt::CaseInsensitive) == 0)
        fieldName = m_rules.table + u'.' + fieldName;
    if (showModal(dialog) == mrCancel)
        return;
    const QString typed = dialog.Edit1->text();
    const QString test = condition == Condition::Equals ? u'=' + QuoteSqlText(typed)
                                                        : QStringLiteral(" LIKE ") + QuoteSqlText(likePattern(typed));

    Query &query = gridQuery();
    query.close();
    if (query.sql().count() < ConditionLine + 1)
        query.sql().add(BlankConditionLine);
    if (m_rules.kind == Kind::SingleTable)
        query.sql().replace(ConditionLine, QStringLiteral(" WHERE ") + fieldName + test);
    else
        query.sql().replace(ConditionLine, query.sql()[ConditionLine] + QStringLiteral(" AND ") + fieldName + test);
    query.open();
}

void ReferenceScreen::showAllRows()
{
    Query &query = gridQuery();
    if (m_rules.kind == Kind::Joined) {
        query.close();
        query.sql().replace(ConditionLine, m_rules.showAllCondition);
        query.open();
        return;
    }
    if (query.sql().count() < ConditionLine + 1)
        return;
    try {
        query.close();
        query.sql().replace(ConditionLine, BlankConditionLine);
        query.open();
    } catch (const Error &) {
        messageBox(QStringLiteral("Помилка!!!"), QStringLiteral("Невірний запит, або помилка підключення до БД"),
                   MessageButton::Ok, MessageIcon::Error);
    }
}

void ReferenceScreen::exportGrid() { exportGridToSpreadsheet(gridQuery(), windowTitle()); }

void ReferenceScreen::closeScreen() { close(); }


void ReferenceScreen::setEditing(bool editing)
{
    const Toolbar &t = m_roles.toolbar;
    for (QAbstractButton *button :
         {m_roles.add, m_roles.edit, m_roles.remove, t.search, t.filter, t.showAll, t.exportButton, t.close})
        button->setEnabled(!editing);
    for (QWidget *control : m_roles.browsingOnly)
        control->setEnabled(!editing);
    for (QWidget *control : m_roles.panel)
        control->setEnabled(editing);
    m_roles.accept->setEnabled(editing);
    m_roles.cancel->setEnabled(editing);
}

// A combo box without a selected entry has no id to give: the statement is not built.
bool ReferenceScreen::choicesMade() const
{
    for (const IdComboBox *box : m_roles.choices)
        if (!chosenId(*box))
            return false;
    return true;
}

} // namespace coop
