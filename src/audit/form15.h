#pragma once

#include "screens/documentscreen.h"
#include "screens/goodsline.h"
#include "ui_form15.h"

#include <functional>

namespace coop {

class Database;
class Field;

// "Ревізія бази": audits of the base warehouse (reviziyabazu: the auditor, the basis document,
// the date) and their lines (pozuciireviziibazu: goods, counted quantity, price, with the sum
// beside them). The date filter narrows the audits.
class TForm15 : public DocumentScreen, private Ui::TForm15
{
    Q_OBJECT

public:
    explicit TForm15(Database &database, QWidget *parent = nullptr);

    Query *const Query1; // audit headers
    Query *const Query2; // employee and goods lists; header delete
    Query *const Query3; // lines of the current audit
    Query *const Query4; // header insert and update; line insert, update and delete

    // The base audit act's preview, given by the registry once the document layouts exist.
    void reach(std::function<void()> previewAct);

    void Query3CalcFields();
    void BitBtn12Click();

protected:
    QList<Query *> storedOpenQueries() override { return {Query1, Query3}; }


    void prepareHeaderPanel(bool editing) override;
    bool writeHeader(bool inserting) override;
    void clearHeaderPanel() override;
    void deleteHeader(const QString &id) override;
    void prepareLinePanel(bool editing) override;
    bool writeLine(bool inserting) override;
    void clearLinePanel() override;
    void deleteLine(const QString &id) override;

private:
    Field *Query3Kilkist;
    Field *Query3Cina;
    Field *Query3Suma;
    std::function<void()> m_previewAct;
    GoodsLineEntries m_goodsLine;
    GoodsLineFields m_lineFields;
};

} // namespace coop
