#pragma once

#include "screens/referencescreen.h"

#include <memory>

namespace Ui {
class TForm8;
}

namespace coop {

// "Відділи": the departments of the cooperative, table viddilu.
class TForm8 : public ReferenceScreen
{
    Q_OBJECT

public:
    explicit TForm8(Database &database, QWidget *parent = nullptr);
    ~TForm8() override;

    QList<Query *> storedOpenQueries() override { return {Query1}; }

    Query *Query1; // the grid
    Query *Query2; // insert, update, the usage check and the delete

protected:
    void clearEntries() override;
    void showCurrentRow() override;
    bool entriesValid() const override;
    QString insertStatement() const override;
    QString updateStatement(const QString &rowId) const override;

private:
    std::unique_ptr<Ui::TForm8> ui;
};

} // namespace coop
