#pragma once

#include "panelsteps.h"

#include <QString>

class QLineEdit;

namespace coop {

class DateTimePicker;
class Field;
class IdComboBox;
class Query;

// The lines panel of the goods documents (receipts, distributions and both audits): the goods,
// chosen from the catalog, its quantity and its price; a shop audit's line has its date besides.
struct GoodsLineEntries
{
    IdComboBox *goods = nullptr;
    QLineEdit *quantity = nullptr;
    QLineEdit *price = nullptr;
    DateTimePicker *date = nullptr;
};

// Where the lines query holds the current line (its id, goods id, quantity, price and date), and
// where the header query holds the id the lines belong to.
struct GoodsLineFields
{
    const Field *id = nullptr;
    const Field *goods = nullptr;
    const Field *quantity = nullptr;
    const Field *price = nullptr;
    const Field *date = nullptr;
    const Field *header = nullptr;
};

// The lines table and its columns as its insert and update spell them.
struct GoodsLineTable
{
    QString table;
    QString insertPrice, updatePrice;
    QString insertDate, updateDate; // a line with a date only
    QString header;                 // the column of the id the line belongs to
    // What a typed quantity becomes in the statement; none: the text as typed.
    QString (*quantityText)(const QString &typed) = nullptr;
};

// The goods list is filled through `listRunner`; the line's insert, update and delete run on
// `writeRunner`.
class GoodsLinePanel final : public PanelSteps
{
public:
    GoodsLinePanel(const GoodsLineEntries &entries, const GoodsLineFields &fields, GoodsLineTable table, Query &listRunner,
                   Query &writeRunner);

    void prepare(bool editing) override;
    // Refuses with "Введіть дані" when the goods typed names no catalog entry or, when adding, a
    // field is empty.
    bool write(bool inserting) override;
    // Leaves the date as it is: "Додати" sets it to today.
    void clear() override;
    void remove(const QString &id) override;

private:
    GoodsLineEntries m_entries;
    GoodsLineFields m_fields;
    GoodsLineTable m_table;
    Query &m_listRunner;
    Query &m_writeRunner;
};

} // namespace coop
