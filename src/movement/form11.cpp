#include "form11.h"

#include "data/database.h"
#include "data/query.h"
#include "ledger/shoptransfer.h"
#include "movement/linequantities.h"
#include "screens/screenhelpers.h"
#include "screens/stockview.h"
#include "ui_form11.h"
#include "widgets/handler.h"
#include "widgets/messages.h"

namespace coop {

namespace {

const QStringList LinesStatement = {
    QStringLiteral("Select pozuciirozpodily.id, pozuciirozpodily.IdRozpodily, pozuciirozpodily.IdTovary, "
                   "pozuciirozpodily.Kilkist, pozuciirozpodily.CinaPostachannya, rozpodil.id, tovary.nazvatovary"),
    QStringLiteral("From pozuciirozpodily, rozpodil, tovary"),
    QStringLiteral("where pozuciirozpodily.IdRozpodily = rozpodil.id AND pozuciirozpodily.IdTovary = Tovary.id"),
};

} // namespace

TForm11::TForm11(Database &database, QWidget *parent)
    : MovementScreen(database, parent), ui(std::make_unique<Ui::TForm11>())
{
    ui->setupUi(this);

    Query1->sql().setLines({QStringLiteral("Select rozpodil.id, rozpodil.IdMagazuny, rozpodil.IdSpivrobitnuka, "
                                           "rozpodil.DataRozpodily, Magazunu.NazvaMagazuny, Spivrobitnuku.PIB"),
                            QStringLiteral("From rozpodil, spivrobitnuku, magazunu"),
                            QStringLiteral("Where rozpodil.IdMagazuny = magazunu.id AND "
                                           "rozpodil.IdSpivrobitnuka = spivrobitnuku.id")});
    Query1->addField({QStringLiteral("id"), FieldType::Integer, 0, QString(), 0, false});
    Query1->addField({QStringLiteral("IdMagazuny"), FieldType::Integer, 0, QString(), 0, false});
    Query1->addField({QStringLiteral("IdSpivrobitnuka"), FieldType::Integer, 0, QString(), 0, false});
    Query1->addField({QStringLiteral("NazvaMagazuny"), FieldType::String, 32, QStringLiteral("Назва магазину"), 25});
    Query1->addField({QStringLiteral("PIB"), FieldType::String, 40, QStringLiteral("Співробітник"), 35});
    Query1->addField({QStringLiteral("DataRozpodily"), FieldType::Date, 0, QStringLiteral("Дата розподілу")});

    Query3->sql().setLines(LinesStatement);
    Query3->addField({QStringLiteral("id"), FieldType::Integer, 0, QString(), 0, false});
    Query3->addField({QStringLiteral("IdRozpodily"), FieldType::Integer, 0, QString(), 0, false});
    Query3IdTovary = Query3->addField({QStringLiteral("IdTovary"), FieldType::Integer, 0, QString(), 0, false});
    Query3->addField({QStringLiteral("nazvatovary"), FieldType::String, 40, QStringLiteral("Назва товару"), 34});
    Query3Kilkist = Query3->addField({QStringLiteral("Kilkist"), FieldType::Float, 0, QStringLiteral("Кількість"), 10});
    Query3CinaPostachannya =
        Query3->addField({QStringLiteral("CinaPostachannya"), FieldType::Float, 0, QStringLiteral("Ціна постачання"), 12});
    Query3->addField({QStringLiteral("id_1"), FieldType::Integer, 0, QString(), 0, false});
    // The integer field rounds the product half to even (7.5 gives 8, 12.5 gives 12).
    Query3->addField({QStringLiteral("Suma"), FieldType::Integer, 0, QStringLiteral("Сума"), 12, true, FieldKind::Calculated});

    setUp(*ui,
          {.header = {QStringLiteral("rozpodil"), QStringLiteral("IdMagazuny"), QStringLiteral("DataRozpodily"),
                      QStringLiteral("magazunu"), QStringLiteral("NazvaMagazuny")},
           .lines = {.table = QStringLiteral("pozuciirozpodily"), .insertPrice = QStringLiteral("CinaPostachannya"),
                     .updatePrice = QStringLiteral("cinaPostachannya"), .header = QStringLiteral("IdRozpodily")},
           .linesStatement = LinesStatement,
           .linesCondition = QStringLiteral("and pozuciirozpodily.IdRozpodily="),
           .priceField = QStringLiteral("CinaPostachannya"),
           .noLinesText = QStringLiteral("Введіть дані про переміщення")},
          nullptr);
    onEvent(ui->BitBtn13, &QPushButton::clicked, this, &TForm11::BitBtn13Click);
}

TForm11::~TForm11() = default;

void TForm11::reach(StockView &stock, StockView &shopStock, std::function<void()> previewInvoice)
{
    MovementScreen::reach(stock, std::move(previewInvoice));
    m_shopStock = &shopStock;
}

// --- moving the goods into the shop ---------------------------------------------------------

void TForm11::BitBtn13Click()
{
    // Without a distribution there is no shop to receive, without lines nothing to move.
    if (!currentRowId(*Query1) || !Query3->active() || Query3->isEmpty()) {
        showMessage(QStringLiteral("Введіть дані про переміщення"));
        return;
    }
    if (!lineQuantitiesArePositive(*Query3, Query3Kilkist, Query3->fieldByName(QStringLiteral("nazvatovary"))))
        return;
    StockCommand command(*Query2->database(), StockDocument::Distribution, Query1->fieldByName(QStringLiteral("id"))->asInteger());
    if (!confirmAgain(command.earlierMove(), QStringLiteral("Цей розподіл вже переміщено в магазин %1. Перемістити ще раз?")))
        return;
    // The check and every change are one transaction: the base rows read are locked until the
    // end, so no other transfer can take the same stock in between, and a failure anywhere leaves
    // the base and the shop as they were.
    const qlonglong shop = Query1->fieldByName(QStringLiteral("IdMagazuny"))->asInteger();
    const std::vector<TransferLine> lines = transferLines();
    StockCommand::Outcome outcome = StockCommand::Outcome::Done;
    runOverLines(QStringLiteral("Переміщення в магазин..."),
                 [&](const LinesDone &progress) { outcome = transferToShop(command, shop, lines, progress); });
    if (outcome == StockCommand::Outcome::Refused) {
        showMessage(command.refusal());
        return;
    }
    if (outcome == StockCommand::Outcome::DoneDespiteLostCommit)
        showMessage(command.doneDespiteLostCommitText());
    command.refreshAfter([&] {
        reopen(*Query1);
        if (m_stock)
            m_stock->stockChanged();
        if (m_shopStock)
            m_shopStock->stockChanged();
    });
    showMessage(QStringLiteral("Даний товар переміщений в магазин"));
}

// The lines of the current distribution, in the grid's order, read without moving its current line.
std::vector<TransferLine> TForm11::transferLines() const
{
    std::vector<TransferLine> lines;
    lines.reserve(size_t(Query3->recordCount()));
    for (int row = 0; row < Query3->recordCount(); ++row)
        lines.push_back({Query3->value(row, Query3IdTovary).toLongLong(), Query3->value(row, Query3Kilkist).toDouble(),
                         Query3->displayText(row, Query3CinaPostachannya)});
    return lines;
}

} // namespace coop
