#pragma once

#include "widgets/screen.h"

#include <optional>
#include <memory>

namespace Ui {
class TMovementHistory;
}

namespace coop {

class Database;
class Field;
class Query;

// "Рух товару": every movement of one goods in the base warehouse or in one shop, as the stock
// journal records it, oldest first, with the quantity that stands now at the foot. It only shows.
// The stock screens open it for their current row.
class TMovementHistory : public Screen
{
    Q_OBJECT

public:
    explicit TMovementHistory(Database &database, QWidget *parent = nullptr);
    ~TMovementHistory() override;

    Query *const Query1; // the movements
    Query *const Query2; // the quantity that stands now

    // Loads the movements of the goods in the shop (none: the base warehouse) and shows the window
    // modally. A database without the journal shows nothing.
    void showFor(qlonglong goods, std::optional<qlonglong> shop, const QString &goodsName, const QString &shopName);

    void Query1CalcFields();
    void BitBtn1Click();

private:
    std::unique_ptr<Ui::TMovementHistory> ui;
    Field *Query1Kilkist;
    Field *Query1Zmina;
};

} // namespace coop
