#pragma once

#include "screens/documentscreen.h"

#include <functional>
#include <memory>

namespace Ui {
class TForm7;
}

namespace coop {

class Database;
class Field;
class GoodsLinePanel;
class PartyHeaderPanel;
class StockCommand;
class StockView;

// "Надходження товарів": receipts from suppliers (nadhodgennya) and their lines (chonadishlo),
// and their posting to the base warehouse.
class TForm7 : public DocumentScreen
{
    Q_OBJECT

public:
    explicit TForm7(Database &database, QWidget *parent = nullptr);
    ~TForm7() override;

    Query *const Query1; // headers
    Query *const Query2; // supplier and goods lists, header delete, posting
    Query *const Query3; // lines of the current header
    Query *const Query4; // line insert, update, delete
    Query *const Query5; // employee list
    Query *const Query6; // header insert and update

    // The screens and documents it reaches, given by the registry once all are created.
    void reach(StockView &stock, std::function<void()> previewInvoice);

    void Query3CalcFields();
    void BitBtn13Click();
    void BitBtn14Click();
    void BitBtn17Click();

protected:
    QList<Query *> storedOpenQueries() override { return {Query1, Query3}; }

private:
    void postLines(StockCommand &command);

    std::unique_ptr<Ui::TForm7> ui;
    Field *Query3Kilkist;
    Field *Query3Cina;
    Field *Query3Suma;
    StockView *m_stock = nullptr;
    std::function<void()> m_previewInvoice;
    std::unique_ptr<PartyHeaderPanel> m_header;
    std::unique_ptr<GoodsLinePanel> m_lines;
};

} // namespace coop
