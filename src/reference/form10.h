#pragma once

#include "screens/referencescreen.h"

#include <memory>

namespace Ui {
class TForm10;
}

namespace coop {

// "Товари": the catalog of goods, table tovary.
class TForm10 : public ReferenceScreen
{
    Q_OBJECT

public:
    explicit TForm10(Database &database, QWidget *parent = nullptr);
    ~TForm10() override;

    QList<Query *> storedOpenQueries() override { return {Query1}; }

    Query *Query1; // the grid
    Query *Query2; // insert, update, the first usage check and the delete
    Query *Query3, *Query4, *Query5, *Query6, *Query7; // the other usage checks

protected:
    void clearEntries() override;
    void showCurrentRow() override;
    bool entriesValid() const override;
    QString insertStatement() const override;
    QString updateStatement(const QString &rowId) const override;

private:
    std::unique_ptr<Ui::TForm10> ui;
};

} // namespace coop
