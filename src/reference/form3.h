#pragma once

#include "screens/columncatalog.h"

#include <memory>

namespace Ui {
class TForm3;
}

namespace coop {

// "Співробітники": the staff register, table spivrobitnuku, joined with the departments,
// positions and shops. Besides the pattern it narrows the grid on the client by department, by
// shop or by date of employment; the three share the grid query's one filter. Query1 is the grid,
// Query2 lists the departments, runs the first usage check and the delete.
class TForm3 : public ColumnCatalog
{
    Q_OBJECT

public:
    explicit TForm3(Database &database, QWidget *parent = nullptr);
    ~TForm3() override;

    QList<Query *> storedOpenQueries() override { return {Query1, Query6, Query7}; }

    Query *Query3; // the position combo box and the second usage check
    Query *Query4; // the shop combo box and the third usage check
    Query *Query5; // insert, update and the fourth usage check
    Query *Query6; // the departments of the department filter
    Query *Query7; // the shops of the shop filter

protected:
    void FormCreate() override;
    void showCurrentRow() override;
    bool entriesValid() const override;
    QString insertStatement() const override;
    QString updateStatement(const QString &rowId) const override;

private:
    void BitBtn6Click();
    void ComboBox4CloseUp();
    void ComboBox5CloseUp();
    void DateTimePicker1CloseUp();
    void DateTimePicker2CloseUp();

    void filterByName(const QString &fieldName, int index, const QString &name);
    void filterByEmploymentDate();

    std::unique_ptr<Ui::TForm3> ui;
};

} // namespace coop
