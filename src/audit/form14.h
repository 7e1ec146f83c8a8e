#pragma once

#include "screens/documentscreen.h"
#include "screens/goodsline.h"
#include "ui_form14.h"

#include <functional>

namespace coop {

class Database;
class Field;

// "Ревізія магазинів": the shops on the left and, on the right, what audits counted in the current
// shop (reveziyamagazuny). There is no header table: the shops are only listed, and the one panel
// adds (mode 1) and edits (mode 2) the audit lines of the current shop. The date filter narrows the
// lines and holds for every shop chosen afterwards.
class TForm14 : public DocumentScreen, private Ui::TForm14
{
    Q_OBJECT

public:
    explicit TForm14(Database &database, QWidget *parent = nullptr);

    Query *const Query1; // shops
    Query *const Query2; // audit lines of the current shop
    Query *const Query3; // goods list; line insert, update and delete

    // The shop audit act's preview, given by the registry once the document layouts exist.
    void reach(std::function<void()> previewAct);

    void BitBtn8Click();

protected:
    QList<Query *> storedOpenQueries() override { return {Query1, Query2}; }

    void prepareLinePanel(bool editing) override;
    bool writeLine(bool inserting) override;
    void clearLinePanel() override;
    void deleteLine(const QString &id) override;

private:
    Field *Query2Kilkist;
    Field *Query2CinaRozdribna;
    Field *Query2Data;
    std::function<void()> m_previewAct;
    GoodsLineEntries m_goodsLine;
    GoodsLineFields m_lineFields;
};

} // namespace coop
