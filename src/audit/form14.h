#pragma once

#include "screens/documentscreen.h"

#include <functional>
#include <memory>

namespace Ui {
class TForm14;
}

namespace coop {

class Database;
class GoodsLinePanel;

// "Ревізія магазинів": the shops on the left and, on the right, what audits counted in the current
// shop (reveziyamagazuny). There is no header table: the shops are only listed, and the one panel
// adds (mode 1) and edits (mode 2) the audit lines of the current shop. The date filter narrows the
// lines and holds for every shop chosen afterwards.
class TForm14 : public DocumentScreen
{
    Q_OBJECT

public:
    explicit TForm14(Database &database, QWidget *parent = nullptr);
    ~TForm14() override;

    Query *const Query1; // shops
    Query *const Query2; // audit lines of the current shop
    Query *const Query3; // goods list; line insert, update and delete

    // The shop audit act's preview, given by the registry once the document layouts exist.
    void reach(std::function<void()> previewAct);

    void BitBtn8Click();

protected:
    QList<Query *> storedOpenQueries() override { return {Query1, Query2}; }

private:
    std::unique_ptr<Ui::TForm14> ui;
    std::unique_ptr<GoodsLinePanel> m_lines;
    std::function<void()> m_previewAct;
};

} // namespace coop
