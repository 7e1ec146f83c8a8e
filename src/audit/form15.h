#pragma once

#include "screens/documentscreen.h"

#include <functional>
#include <memory>

namespace Ui {
class TForm15;
}

namespace coop {

class Database;
class Field;
class GoodsLinePanel;

// "Ревізія бази": audits of the base warehouse (reviziyabazu: the auditor, the basis document,
// the date) and their lines (pozuciireviziibazu: goods, counted quantity, price, with the sum
// beside them). The date filter narrows the audits.
class TForm15 : public DocumentScreen
{
    Q_OBJECT

public:
    explicit TForm15(Database &database, QWidget *parent = nullptr);
    ~TForm15() override;

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

private:
    class AuditHeader;

    std::unique_ptr<Ui::TForm15> ui;
    Field *Query3Kilkist;
    Field *Query3Cina;
    Field *Query3Suma;
    std::unique_ptr<GoodsLinePanel> m_lines;
    std::unique_ptr<AuditHeader> m_header;
    std::function<void()> m_previewAct;
};

} // namespace coop
