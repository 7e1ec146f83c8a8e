#pragma once

#include "screens/documentscreen.h"

#include <functional>
#include <memory>

namespace Ui {
class TForm11;
}

namespace coop {

class Database;
class Field;
class GoodsLinePanel;
class PartyHeaderPanel;
class StockCommand;
class StockView;

// "Розподіл між магазинами": distributions of goods from the base warehouse to the shops (rozpodil)
// and their lines (pozuciirozpodily), and the transfer that moves a distribution's goods out of the
// base stock into the shop's stock at the retail markup.
class TForm11 : public DocumentScreen
{
    Q_OBJECT

public:
    explicit TForm11(Database &database, QWidget *parent = nullptr);
    ~TForm11() override;

    Query *const Query1; // headers
    Query *const Query2; // shop and goods lists, header delete, the stock check
    Query *const Query3; // lines of the current header
    Query *const Query4; // line insert, update, delete; the base stock change
    Query *const Query5; // employee list; the shop stock count and change
    Query *const Query6; // header insert and update

    // The screens and documents it reaches, given by the registry once all are created.
    void reach(StockView &stock, StockView &shopStock, std::function<void()> previewInvoice);

    void Query3CalcFields();
    void BitBtn13Click();
    void BitBtn14Click();
    void BitBtn17Click();

protected:
    QList<Query *> storedOpenQueries() override { return {Query1, Query3}; }

private:
    // Whether the base holds enough of every goods for all the lines together.
    bool baseCoversLines();
    void moveLines(StockCommand &command);

    std::unique_ptr<Ui::TForm11> ui;
    Field *Query3IdTovary;
    Field *Query3Kilkist;
    Field *Query3CinaPostachannya;
    Field *Query3Suma;
    StockView *m_stock = nullptr;
    StockView *m_shopStock = nullptr;
    std::function<void()> m_previewInvoice;
    std::unique_ptr<PartyHeaderPanel> m_header;
    std::unique_ptr<GoodsLinePanel> m_lines;
};

} // namespace coop
