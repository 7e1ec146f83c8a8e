#pragma once

#include "movementhistory.h"
#include "screens/stockview.h"
#include "widgets/screen.h"

#include <functional>
#include <memory>

namespace Ui {
class TForm12;
}

namespace coop {

class Database;
class Query;

// "Склад": what lies in the base warehouse, one row per article of baza. It only shows. Its
// query is loaded at start-up and reloaded only by the commands that change baza (posting a
// receipt, moving goods to a shop), which reach Query1 through the registry; opening the screen
// reloads nothing.
class TForm12 : public Screen, public StockView
{
    Q_OBJECT

public:
    explicit TForm12(Database &database, QWidget *parent = nullptr);
    ~TForm12() override;

    Query *const Query1;
    TMovementHistory *const History; // the movements of the goods of a row

    // How the stock card is previewed; given by the registry once the report layouts exist.
    void setStockCardPreview(std::function<void()> preview) { m_previewStockCard = std::move(preview); }

    void BitBtn1Click();
    void BitBtn2Click();
    void DBGrid1Activated();

    void showStock() override;
    void stockChanged() override;

protected:
    QList<Query *> storedOpenQueries() override { return {Query1}; }

private:
    std::unique_ptr<Ui::TForm12> ui;
    std::function<void()> m_previewStockCard;
};

} // namespace coop
