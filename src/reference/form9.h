#pragma once

#include "screens/columncatalog.h"

#include <memory>

namespace Ui {
class TForm9;
}

namespace coop {

// "Магазини": the cooperative's shops, table magazunu, each with its manager chosen from the
// employees. Query1 is the grid, Query2 lists the employees, runs the first usage check and the
// delete.
class TForm9 : public ColumnCatalog
{
    Q_OBJECT

public:
    explicit TForm9(Database &database, QWidget *parent = nullptr);
    ~TForm9() override;

    Query *Query3;          // insert, update and the second usage check
    Query *Query4, *Query5; // the third and fourth usage checks

protected:
    QString insertStatement() const override;
    QString updateStatement(const QString &rowId) const override;

private:
    std::unique_ptr<Ui::TForm9> ui;
};

} // namespace coop
