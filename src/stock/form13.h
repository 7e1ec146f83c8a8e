#pragma once

#include "movementhistory.h"
#include "screens/stockview.h"
#include "widgets/screen.h"

#include <memory>

namespace Ui {
class TForm13;
}

namespace coop {

class Database;
class Field;
class Query;

// "Наявність в магазині": the shops on the left and the stock of the selected shop on the right,
// with each row's value at the accounting price. It only shows. The shops are loaded once at
// start-up; the stock follows the selected shop, and moving goods into a shop reopens Query3
// through the registry with its current text.
class TForm13 : public Screen, public StockView
{
    Q_OBJECT

public:
    explicit TForm13(Database &database, QWidget *parent = nullptr);
    ~TForm13() override;

    Query *const Query1;
    Query *const Query3;
    TMovementHistory *const History; // the movements of the goods of a stock row in its shop

    void Query1AfterScroll();
    void Query3CalcFields();
    void BitBtn1Click();
    void DBGrid2Activated();

    void showStock() override;
    void stockChanged() override;

protected:
    QList<Query *> storedOpenQueries() override { return {Query1, Query3}; }

private:
    std::unique_ptr<Ui::TForm13> ui;
    Field *Query3Kilkist;
    Field *Query3CinaOblikova;
    Field *Query3Suma;
};

} // namespace coop
