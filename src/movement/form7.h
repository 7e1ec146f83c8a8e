#pragma once

#include "movementscreen.h"

#include <memory>

namespace Ui {
class TForm7;
}

namespace coop {

class StockCommand;

// "Надходження товарів": receipts from suppliers (nadhodgennya) and their lines (chonadishlo),
// and their posting to the base warehouse.
class TForm7 : public MovementScreen
{
    Q_OBJECT

public:
    explicit TForm7(Database &database, QWidget *parent = nullptr);
    ~TForm7() override;

    void BitBtn13Click();

private:
    void postLines(StockCommand &command);

    std::unique_ptr<Ui::TForm7> ui;
    Field *Query3Kilkist;
};

} // namespace coop
