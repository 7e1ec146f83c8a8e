#include "goodsline.h"

#include "data/query.h"
#include "screenhelpers.h"
#include "widgets/idcombobox.h"

#include <QLineEdit>

namespace coop {

void prepareGoodsLine(const GoodsLineEntries &entries, Query &runner, bool editing, const GoodsLineFields &current)
{
    fillIdComboBox(*entries.goods, runner, QStringLiteral("SELECT* FROM tovary"), QStringLiteral("NazvaTovary"));
    if (!editing) {
        entries.quantity->clear();
        entries.price->clear();
        return;
    }
    selectId(*entries.goods, current.goods->asString());
    entries.quantity->setText(current.quantity->asString());
    entries.price->setText(current.price->asString());
}

std::optional<QString> checkedGoods(const GoodsLineEntries &entries, bool inserting)
{
    const std::optional<QString> goods = chosenId(*entries.goods);
    const bool empty =
        entries.goods->currentText().isEmpty() || entries.quantity->text().isEmpty() || entries.price->text().isEmpty();
    // Goods typed by hand that name no entry have no id to write, in either mode.
    if ((inserting && empty) || !goods) {
        refuse(QStringLiteral("Введіть дані"));
        return std::nullopt;
    }
    return goods;
}

void clearGoodsLine(const GoodsLineEntries &entries)
{
    entries.goods->setEditText(QString());
    entries.quantity->clear();
    entries.price->clear();
}

} // namespace coop
