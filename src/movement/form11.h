#pragma once

#include "movementscreen.h"

#include <memory>
#include <vector>

namespace Ui {
class TForm11;
}

namespace coop {

struct TransferLine;

// "Розподіл між магазинами": distributions of goods from the base warehouse to the shops (rozpodil)
// and their lines (pozuciirozpodily), and the transfer that moves a distribution's goods out of the
// base stock into the shop's stock at the retail markup (the ledger's transferToShop).
class TForm11 : public MovementScreen
{
    Q_OBJECT

public:
    explicit TForm11(Database &database, QWidget *parent = nullptr);
    ~TForm11() override;

    // The screens and documents it reaches, given by the registry once all are created.
    void reach(StockView &stock, StockView &shopStock, std::function<void()> previewInvoice);

    void BitBtn13Click();

private:
    std::vector<TransferLine> transferLines() const;

    std::unique_ptr<Ui::TForm11> ui;
    Field *Query3IdTovary;
    Field *Query3Kilkist;
    Field *Query3CinaPostachannya;
    StockView *m_shopStock = nullptr;
};

} // namespace coop
