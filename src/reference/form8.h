#pragma once

#include "screens/columncatalog.h"

#include <memory>

namespace Ui {
class TForm8;
}

namespace coop {

// "Відділи": the departments of the cooperative, table viddilu. Query1 is the grid, Query2 runs the
// insert, the update, the usage check and the delete.
class TForm8 : public ColumnCatalog
{
    Q_OBJECT

public:
    explicit TForm8(Database &database, QWidget *parent = nullptr);
    ~TForm8() override;

private:
    std::unique_ptr<Ui::TForm8> ui;
};

} // namespace coop
