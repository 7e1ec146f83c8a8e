#pragma once

#include "screens/referencescreen.h"

#include <memory>

namespace Ui {
class TForm9;
}

namespace coop {

// "Магазини": the cooperative's shops, table magazunu, each with its manager from the employees.
class TForm9 : public ReferenceScreen
{
    Q_OBJECT

public:
    explicit TForm9(Database &database, QWidget *parent = nullptr);
    ~TForm9() override;

    Query *Query1; // the grid
    Query *Query2; // the manager combo box, the first usage check and the delete
    Query *Query3; // insert, update and the second usage check
    Query *Query4, *Query5; // the third and fourth usage checks

protected:
    void clearEntries() override;
    void clearChoices() override;
    void fillChoices() override;
    void showCurrentRow() override;
    bool entriesValid() const override;
    QString insertStatement() const override;
    QString updateStatement(const QString &rowId) const override;

private:
    std::unique_ptr<Ui::TForm9> ui;
};

} // namespace coop
