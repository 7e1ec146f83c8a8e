#pragma once

#include "panelsteps.h"

#include <QString>

namespace coop {

class DateTimePicker;
class IdComboBox;
class Query;

// The header panel of the documents between the base warehouse and a party (receipts from a
// supplier, distributions to a shop): the party and the employee, chosen from their catalogs, and
// the document's date.
struct PartyHeaderEntries
{
    IdComboBox *party = nullptr;
    IdComboBox *employee = nullptr;
    DateTimePicker *date = nullptr;
};

// The header table with its columns of the party's id and of the date (the header query's fields
// carry the same names), and the party's catalog table and its name column.
struct PartyHeaderTable
{
    QString table;
    QString partyId;
    QString date;
    QString partyCatalog;
    QString partyName;
};

// The statements run on the header query's screen's runners: the party list and the delete on
// `partyRunner`, the employee list on `employeeRunner`, the insert and the update on `writeRunner`.
struct PartyHeaderRunners
{
    Query *party = nullptr;
    Query *employee = nullptr;
    Query *write = nullptr;
};

class PartyHeaderPanel final : public PanelSteps
{
public:
    PartyHeaderPanel(const PartyHeaderEntries &entries, PartyHeaderTable table, const Query &header,
                     const PartyHeaderRunners &runners);

    // Fills both lists, then shows the current header (editing) or today's date (adding).
    void prepare(bool editing) override;
    // Refuses with "Введіть коректні дані" when either text is empty or names no catalog entry.
    bool write(bool inserting) override;
    void clear() override;
    void remove(const QString &id) override;

private:
    PartyHeaderEntries m_entries;
    PartyHeaderTable m_table;
    const Query &m_header;
    PartyHeaderRunners m_runners;
};

} // namespace coop
