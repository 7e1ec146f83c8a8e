#include "partyheader.h"

#include "data/query.h"
#include "screenhelpers.h"
#include "widgets/datetimepicker.h"
#include "widgets/idcombobox.h"

namespace coop {

void preparePartyHeader(const PartyHeaderEntries &entries, const PartyHeaderSource &source, Query &partyRunner,
                        Query &employeeRunner, bool editing, const Query &header)
{
    fillIdComboBox(*entries.party, partyRunner, QStringLiteral("SELECT* FROM ") + source.partyTable, source.partyName);
    fillIdComboBox(*entries.employee, employeeRunner, QStringLiteral("SELECT* FROM spivrobitnuku"), QStringLiteral("PIB"));
    if (!editing) {
        entries.date->setDate(QDate::currentDate());
        return;
    }
    selectId(*entries.party, header.fieldByName(source.partyIdField)->asString());
    selectId(*entries.employee, header.fieldByName(QStringLiteral("IdSpivrobitnuka"))->asString());
    entries.date->setDate(header.fieldByName(source.dateField)->asDate());
}

std::optional<PartyHeaderIds> checkedParties(const PartyHeaderEntries &entries)
{
    const std::optional<QString> party = chosenId(*entries.party);
    const std::optional<QString> employee = chosenId(*entries.employee);
    // An empty text, or one that names no entry, has no id to write.
    if (!party || !employee) {
        refuse(QStringLiteral("Введіть коректні дані"));
        return std::nullopt;
    }
    return PartyHeaderIds{*party, *employee};
}

void clearPartyHeader(const PartyHeaderEntries &entries)
{
    entries.party->setEditText(QString());
    entries.employee->setEditText(QString());
    entries.date->setDate(QDate::currentDate());
}

} // namespace coop
