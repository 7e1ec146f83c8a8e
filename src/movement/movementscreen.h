#pragma once

#include "screens/documentscreen.h"
#include "screens/goodsline.h"
#include "screens/partyheader.h"
#include "widgets/handler.h"
#include "widgets/keyfilteredit.h"

#include <QPushButton>

#include <functional>
#include <memory>

namespace coop {

class Database;
class Field;
class StockView;

// A document that moves goods between the base warehouse and a party: a receipt from a supplier,
// a distribution to a shop. Both screens are drawn alike, under the same control names: headers
// above with their panel (party, employee, date), lines below with theirs (goods, quantity, price),
// the same buttons in the same places. They differ in their tables and in their command (posting,
// transfer: the ledger's), which each screen's BitBtn13Click gives with its lines.
class MovementScreen : public DocumentScreen
{
    Q_OBJECT

public:
    ~MovementScreen() override;

    Query *const Query1; // headers
    Query *const Query2; // party and goods lists, header delete
    Query *const Query3; // lines of the current header
    Query *const Query4; // line insert, update, delete
    Query *const Query5; // employee list
    Query *const Query6; // header insert and update

    // The base stock screen and the invoice's preview, given by the registry once all are created.
    void reach(StockView &stock, std::function<void()> previewInvoice);

    void Query3CalcFields();
    void BitBtn14Click();
    void BitBtn17Click();

protected:
    // What differs between the two documents besides their queries' text and fields.
    struct Movement
    {
        PartyHeaderTable header;
        GoodsLineTable lines;
        QStringList linesStatement;
        QString linesCondition;
        QString priceField;  // of the lines query
        QString noLinesText; // the clerk's answer to a print or command without lines
    };

    MovementScreen(Database &database, QWidget *parent);
    // Wires the shared steps to the screen's controls once its queries have their fields.
    // `filterTo`: the end of the date filter's period; none, the filter is one day.
    template <class Form> void setUp(Form &ui, const Movement &movement, DateTimePicker *filterTo);

    QList<Query *> storedOpenQueries() override { return {Query1, Query3}; }

    StockView *m_stock = nullptr;

private:
    QString m_noLinesText;
    const Field *m_quantity = nullptr;
    const Field *m_price = nullptr;
    Field *m_sum = nullptr;
    std::function<void()> m_previewInvoice;
    std::unique_ptr<PartyHeaderPanel> m_header;
    std::unique_ptr<GoodsLinePanel> m_lines;

    void makePanels(const Movement &movement, const PartyHeaderEntries &header, const GoodsLineEntries &lines);
};

template <class Form> void MovementScreen::setUp(Form &ui, const Movement &movement, DateTimePicker *filterTo)
{
    ui.DBGrid1->setQuery(Query1);
    ui.DBGrid2->setQuery(Query3);
    attachKeyFilter(ui.Edit1, DigitsOnlyFilter);
    attachKeyFilter(ui.Edit2, CommaDecimalFilter);
    makePanels(movement, {ui.ComboBox1, ui.ComboBox2, ui.DateTimePicker1}, {ui.ComboBox3, ui.Edit1, ui.Edit2});

    Roles roles;
    roles.header = Query1;
    roles.lines = Query3;
    roles.headerGrid = ui.DBGrid1;
    roles.linesGrid = ui.DBGrid2;
    roles.linesStatement = movement.linesStatement;
    roles.linesCondition = movement.linesCondition;
    roles.headerPanel = Panel{m_header.get(), ui.BitBtn1, ui.BitBtn2, ui.BitBtn3, ui.BitBtn4, ui.BitBtn5,
                              {ui.ComboBox1, ui.ComboBox2, ui.DateTimePicker1, ui.Label1, ui.Label2, ui.Label3},
                              EditMode::Insert, EditMode::Update, QStringLiteral("Видалення")};
    roles.linesPanel = Panel{m_lines.get(), ui.BitBtn6, ui.BitBtn7, ui.BitBtn8, ui.BitBtn9, ui.BitBtn10,
                             {ui.ComboBox3, ui.Edit1, ui.Edit2, ui.Label4, ui.Label5, ui.Label6},
                             EditMode::InsertLine, EditMode::UpdateLine, QStringLiteral("Увага!!!")};
    roles.filter = DateFilter{Query1, movement.header.date, ui.DateTimePicker2, filterTo, ui.BitBtn11};
    roles.sum = DocumentSum{ui.BitBtn15, ui.BitBtn16, ui.Edit3};
    roles.close = ui.BitBtn12;
    setRoles(roles);

    onEvent(Query3, QueryEvent::CalcFields, this, &MovementScreen::Query3CalcFields);
    onEvent(ui.BitBtn14, &QPushButton::clicked, this, &MovementScreen::BitBtn14Click);
    onEvent(ui.BitBtn17, &QPushButton::clicked, this, &MovementScreen::BitBtn17Click);
}

} // namespace coop
