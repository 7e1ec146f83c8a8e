#pragma once

#include "screens/documentscreen.h"
#include "screens/goodsline.h"
#include "screens/partyheader.h"
#include "ui_form7.h"

#include <functional>

namespace coop {

class Database;
class Field;
class StockCommand;
class StockView;

// "Надходження товарів": receipts from suppliers (nadhodgennya) and their lines (chonadishlo),
// and their posting to the base warehouse.
class TForm7 : public DocumentScreen, private Ui::TForm7
{
    Q_OBJECT

public:
    explicit TForm7(Database &database, QWidget *parent = nullptr);

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

    void prepareHeaderPanel(bool editing) override;
    bool writeHeader(bool inserting) override;
    void clearHeaderPanel() override;
    void deleteHeader(const QString &id) override;
    void prepareLinePanel(bool editing) override;
    bool writeLine(bool inserting) override;
    void clearLinePanel() override;
    void deleteLine(const QString &id) override;

private:
    void postLines(StockCommand &command);

    Field *Query3Kilkist;
    Field *Query3Cina;
    Field *Query3Suma;
    StockView *m_stock = nullptr;
    std::function<void()> m_previewInvoice;
    PartyHeaderEntries m_header;
    PartyHeaderSource m_headerSource;
    GoodsLineEntries m_goodsLine;
    GoodsLineFields m_lineFields;
};

} // namespace coop
