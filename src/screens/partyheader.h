#pragma once

#include <QString>

#include <optional>

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

// Where the panel's values come from: the party's catalog table and its name column, and the
// header query's columns of the party's id and of the date.
struct PartyHeaderSource
{
    QString partyTable;
    QString partyName;
    QString partyIdField;
    QString dateField;
};

// Fills both lists (the party's through `partyRunner`, the employees' through `employeeRunner`),
// then shows the current header (editing) or today's date (adding).
void preparePartyHeader(const PartyHeaderEntries &entries, const PartyHeaderSource &source, Query &partyRunner,
                        Query &employeeRunner, bool editing, const Query &header);

struct PartyHeaderIds
{
    QString party;
    QString employee;
};

// The chosen party's and employee's ids. None, after the clerk is told "Введіть коректні дані",
// when either text is empty or names no catalog entry.
std::optional<PartyHeaderIds> checkedParties(const PartyHeaderEntries &entries);

void clearPartyHeader(const PartyHeaderEntries &entries);

} // namespace coop
