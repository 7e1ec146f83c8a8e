#include "goodsline.h"

#include "data/format.h"
#include "data/query.h"
#include "screenhelpers.h"
#include "widgets/datetimepicker.h"
#include "widgets/idcombobox.h"

#include <QLineEdit>

namespace coop {

GoodsLinePanel::GoodsLinePanel(const GoodsLineEntries &entries, const GoodsLineFields &fields, GoodsLineTable table,
                               Query &listRunner, Query &writeRunner)
    : m_entries(entries), m_fields(fields), m_table(std::move(table)), m_listRunner(listRunner), m_writeRunner(writeRunner)
{
}

void GoodsLinePanel::prepare(bool editing)
{
    fillIdComboBox(*m_entries.goods, m_listRunner, QStringLiteral("SELECT* FROM tovary"), QStringLiteral("NazvaTovary"));
    if (!editing) {
        m_entries.quantity->clear();
        m_entries.price->clear();
        if (m_entries.date)
            m_entries.date->setDate(QDate::currentDate());
        return;
    }
    selectId(*m_entries.goods, m_fields.goods->asString());
    m_entries.quantity->setText(m_fields.quantity->asString());
    m_entries.price->setText(m_fields.price->asString());
    // A line without a date cannot be edited: the error names the empty text and the panel stays closed.
    if (m_entries.date)
        m_entries.date->setDate(ReadLocaleDate(m_fields.date->asString()));
}

bool GoodsLinePanel::write(bool inserting)
{
    const std::optional<QString> goods = chosenId(*m_entries.goods);
    const bool empty = m_entries.goods->currentText().isEmpty() || m_entries.quantity->text().isEmpty()
                       || m_entries.price->text().isEmpty();
    // Goods typed by hand that name no entry have no id to write, in either mode.
    if ((inserting && empty) || !goods) {
        refuse(QStringLiteral("Введіть дані"));
        return false;
    }
    const QString price = QuoteSqlText(FormatSqlNumber(ReadTypedNumber(m_entries.price->text())));
    const QString typed = m_entries.quantity->text();
    const QString quantity = QuoteSqlText(m_table.quantityText ? m_table.quantityText(typed) : typed);
    const QString date = m_entries.date ? QuoteSqlText(FormatSqlDate(m_entries.date->date())) : QString();
    const QString header = m_fields.header->asString();
    const GoodsLineTable &t = m_table;
    if (inserting) {
        const QString dateColumn = m_entries.date ? t.insertDate + u',' : QString();
        const QString dateValue = m_entries.date ? date + u',' : QString();
        runStatement(m_writeRunner, QStringLiteral("INSERT INTO ") + t.table + QStringLiteral(" (IdTovary,kilkist,") + t.insertPrice
                                        + u',' + dateColumn + t.header + QStringLiteral(") values ('") + *goods + QStringLiteral("',")
                                        + quantity + u',' + price + u',' + dateValue + header + u')');
    } else {
        const QString dateSet = m_entries.date ? QStringLiteral(", ") + t.updateDate + u'=' + date : QString();
        runStatement(m_writeRunner, QStringLiteral("UPDATE ") + t.table + QStringLiteral(" Set IdTovary=") + *goods
                                        + QStringLiteral(", kilkist=") + quantity + QStringLiteral(", ") + t.updatePrice + u'=' + price
                                        + dateSet + QStringLiteral(", ") + t.header + u'=' + header + QStringLiteral(" WHERE ")
                                        + t.table + QStringLiteral(".Id=") + m_fields.id->asString());
    }
    return true;
}

void GoodsLinePanel::clear()
{
    m_entries.goods->setEditText(QString());
    m_entries.quantity->clear();
    m_entries.price->clear();
}

void GoodsLinePanel::remove(const QString &id)
{
    runStatement(m_writeRunner, QStringLiteral("DELETE FROM ") + m_table.table + QStringLiteral(" WHERE ") + m_table.table
                                    + QStringLiteral(".id=") + id + u';');
}

} // namespace coop
