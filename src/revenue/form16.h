#pragma once

#include "screens/documentscreen.h"

#include <memory>

namespace Ui {
class TForm16;
}

namespace coop {

class Database;
class Field;
class TForm22;

// "Виручка магазинів": the shops on the left and, on the right, the revenue handed in at the
// current shop (vurychka), with the employee, the sum and the date. The shops are only listed; the
// one panel adds (mode 1) and edits (mode 2) the entries of the current shop, and the date filter
// narrows the entries. The revenue chart draws Query3.
class TForm16 : public DocumentScreen
{
    Q_OBJECT

public:
    explicit TForm16(Database &database, QWidget *parent = nullptr);
    ~TForm16() override;

    Query *const Query1; // shops
    Query *const Query2; // employee list
    Query *const Query3; // revenue entries of the current shop
    Query *const Query4; // entry insert, update and delete

    // The revenue chart, given by the registry once it exists.
    void reach(TForm22 &chart);

    void BitBtn8Click();

protected:
    QList<Query *> storedOpenQueries() override { return {Query1, Query3}; }

    // Opens nothing: the queries are open from the screen's creation on.
    void FormActivate() override;

private:
    class RevenueEntry;

    std::unique_ptr<Ui::TForm16> ui;
    std::unique_ptr<RevenueEntry> m_entry;
    TForm22 *m_chart = nullptr;
};

} // namespace coop
