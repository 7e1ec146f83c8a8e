#pragma once

#include <QString>

#include <optional>

class QLineEdit;

namespace coop {

class Field;
class IdComboBox;
class Query;

// The lines panel of the goods documents (receipts, distributions and both audits): the goods,
// chosen from the catalog, its quantity and its price.
struct GoodsLineEntries
{
    IdComboBox *goods = nullptr;
    QLineEdit *quantity = nullptr;
    QLineEdit *price = nullptr;
};

// Where the lines query holds a line's goods id, quantity and price.
struct GoodsLineFields
{
    const Field *goods = nullptr;
    const Field *quantity = nullptr;
    const Field *price = nullptr;
};

// Fills the goods list through `runner`, then shows the current line (editing) or empties the
// quantity and the price (adding).
void prepareGoodsLine(const GoodsLineEntries &entries, Query &runner, bool editing, const GoodsLineFields &current);

// The chosen goods' id. None, after the clerk is told "Введіть дані", when the goods typed names no
// catalog entry or, when adding, a field is empty.
std::optional<QString> checkedGoods(const GoodsLineEntries &entries, bool inserting);

void clearGoodsLine(const GoodsLineEntries &entries);

} // namespace coop
