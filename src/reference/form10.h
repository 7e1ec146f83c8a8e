#pragma once

#include "screens/columncatalog.h"

#include <memory>

namespace Ui {
class TForm10;
}

namespace coop {

// "Товари": the catalog of goods, table tovary. Query1 is the grid, Query2 runs the insert, the
// update, the first usage check and the delete.
class TForm10 : public ColumnCatalog
{
    Q_OBJECT

public:
    explicit TForm10(Database &database, QWidget *parent = nullptr);
    ~TForm10() override;

    Query *Query3, *Query4, *Query5, *Query6, *Query7; // the other usage checks

private:
    std::unique_ptr<Ui::TForm10> ui;
};

} // namespace coop
