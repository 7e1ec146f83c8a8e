#include "movementscreen.h"

#include "data/query.h"
#include "screens/screenhelpers.h"
#include "screens/stockview.h"

namespace coop {

MovementScreen::MovementScreen(Database &database, QWidget *parent)
    : DocumentScreen(parent), Query1(makeQuery(database, "Query1")), Query2(makeQuery(database, "Query2")),
      Query3(makeQuery(database, "Query3")), Query4(makeQuery(database, "Query4")), Query5(makeQuery(database, "Query5")),
      Query6(makeQuery(database, "Query6"))
{
}

MovementScreen::~MovementScreen() = default;

void MovementScreen::makePanels(const Movement &movement, const PartyHeaderEntries &header, const GoodsLineEntries &lines)
{
    m_noLinesText = movement.noLinesText;
    m_quantity = Query3->fieldByName(QStringLiteral("Kilkist"));
    m_price = Query3->fieldByName(movement.priceField);
    m_sum = Query3->fieldByName(QStringLiteral("Suma"));
    m_header = std::make_unique<PartyHeaderPanel>(header, movement.header, *Query1, PartyHeaderRunners{Query2, Query5, Query6});
    m_lines = std::make_unique<GoodsLinePanel>(
        lines,
        GoodsLineFields{.id = Query3->fieldByName(QStringLiteral("id")), .goods = Query3->fieldByName(QStringLiteral("IdTovary")),
                        .quantity = m_quantity, .price = m_price, .header = Query1->fieldByName(QStringLiteral("id"))},
        movement.lines, *Query2, *Query4);
}

void MovementScreen::reach(StockView &stock, std::function<void()> previewInvoice)
{
    m_stock = &stock;
    m_previewInvoice = std::move(previewInvoice);
}

// The distribution's sum is a whole-number field: it rounds the product half to even (7.5 gives 8,
// 12.5 gives 12).
void MovementScreen::Query3CalcFields() { m_sum->setValue(m_quantity->asFloat() * m_price->asFloat()); }

void MovementScreen::BitBtn14Click()
{
    if (m_stock)
        m_stock->showStock();
}

void MovementScreen::BitBtn17Click() { previewDocument(m_noLinesText, m_previewInvoice); }

} // namespace coop
