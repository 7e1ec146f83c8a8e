#include "partyheader.h"

#include "data/format.h"
#include "data/query.h"
#include "screenhelpers.h"
#include "widgets/datetimepicker.h"
#include "widgets/idcombobox.h"

namespace coop {

PartyHeaderPanel::PartyHeaderPanel(const PartyHeaderEntries &entries, PartyHeaderTable table, const Query &header,
                                   const PartyHeaderRunners &runners)
    : m_entries(entries), m_table(std::move(table)), m_header(header), m_runners(runners)
{
}

void PartyHeaderPanel::prepare(bool editing)
{
    fillIdComboBox(*m_entries.party, *m_runners.party, QStringLiteral("SELECT* FROM ") + m_table.partyCatalog, m_table.partyName);
    fillIdComboBox(*m_entries.employee, *m_runners.employee, QStringLiteral("SELECT* FROM spivrobitnuku"), QStringLiteral("PIB"));
    if (!editing) {
        m_entries.date->setDate(QDate::currentDate());
        return;
    }
    selectId(*m_entries.party, m_header.fieldByName(m_table.partyId)->asString());
    selectId(*m_entries.employee, m_header.fieldByName(QStringLiteral("IdSpivrobitnuka"))->asString());
    m_entries.date->setDate(m_header.fieldByName(m_table.date)->asDate());
}

bool PartyHeaderPanel::write(bool inserting)
{
    const std::optional<QString> party = chosenId(*m_entries.party);
    const std::optional<QString> employee = chosenId(*m_entries.employee);
    // An empty text, or one that names no entry, has no id to write.
    if (!party || !employee) {
        refuse(QStringLiteral("Введіть коректні дані"));
        return false;
    }
    const QString date = QuoteSqlText(FormatSqlDate(m_entries.date->date()));
    const PartyHeaderTable &t = m_table;
    if (inserting)
        runStatement(*m_runners.write, QStringLiteral("INSERT INTO ") + t.table + QStringLiteral(" (") + t.partyId
                                           + QStringLiteral(", IdSpivrobitnuka, ") + t.date + QStringLiteral(") values ('") + *party
                                           + QStringLiteral("','") + *employee + QStringLiteral("',") + date + u')');
    else
        runStatement(*m_runners.write, QStringLiteral("UPDATE ") + t.table + QStringLiteral(" Set ") + t.partyId + u'=' + *party
                                           + QStringLiteral(", IdSpivrobitnuka=") + *employee + QStringLiteral(", ") + t.date + u'='
                                           + date + QStringLiteral(" WHERE ") + t.table + QStringLiteral(".Id=")
                                           + m_header.fieldByName(QStringLiteral("id"))->asString());
    return true;
}

void PartyHeaderPanel::clear()
{
    m_entries.party->setEditText(QString());
    m_entries.employee->setEditText(QString());
    m_entries.date->setDate(QDate::currentDate());
}

void PartyHeaderPanel::remove(const QString &id)
{
    runStatement(*m_runners.party, QStringLiteral("DELETE from ") + m_table.table + QStringLiteral(" Where Id=") + id);
}

} // namespace coop
