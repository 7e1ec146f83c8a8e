#pragma once

#include "movementscreen.h"

#include <memory>
#include <vector>

namespace Ui {
class TForm7;
}

namespace coop {

struct ReceiptLine;

// "Надходження товарів": receipts from suppliers (nadhodgennya) and their lines (chonadishlo),
// and their posting to the base warehouse (the ledger's postReceipt).
class TForm7 : public MovementScreen
{
    Q_OBJECT

public:
    explicit TForm7(Database &database, QWidget *parent = nullptr);
    ~TForm7() override;

    void BitBtn13Click();

private:
    std::vector<ReceiptLine> receiptLines() const;

    std::unique_ptr<Ui::TForm7> ui;
    Field *Query3Kilkist;
};

} // namespace coop
