#pragma once

#include "screens/columncatalog.h"

#include <memory>

namespace Ui {
class TForm4;
}

namespace coop {

// "Постачальники": the suppliers, table postachalnuku. Query1 is the grid, Query2 runs the insert,
// the update, the usage check and the delete.
class TForm4 : public ColumnCatalog
{
    Q_OBJECT

public:
    explicit TForm4(Database &database, QWidget *parent = nullptr);
    ~TForm4() override;

protected:
    bool entriesValid() const override;

private:
    std::unique_ptr<Ui::TForm4> ui;
};

} // namespace coop
