#include "form7.h"

#include "data/database.h"
#include "data/query.h"
#include "ledger/receiptposting.h"
#include "movement/linequantities.h"
#include "screens/screenhelpers.h"
#include "screens/stockview.h"
#include "ui_form7.h"
#include "widgets/handler.h"
#include "widgets/messages.h"

namespace coop {

namespace {

const QStringList LinesStatement = {
    QStringLiteral("Select chonadishlo.id, chonadishlo.IdTovary, chonadishlo.idNadhodgennya, chonadishlo.Kilkist, "
                   "chonadishlo.Cina, nadhodgennya.id, tovary.NazvaTovary"),
    QStringLiteral("From chonadishlo, nadhodgennya, tovary"),
    QStringLiteral("Where chonadishlo.IdTovary = Tovary.Id AND chonadishlo.Idnadhodgennya = nadhodgennya.Id"),
};
// The text the lines query holds until the first header is current; it spells the header column
// as the table does, where the rebuilt text does not.
const QStringList StoredLinesStatement = {
    QStringLiteral("Select chonadishlo.id, chonadishlo.IdTovary, chonadishlo.IdNadhodgennya, chonadishlo.Kilkist, "
                   "chonadishlo.Cina, nadhodgennya.id, tovary.NazvaTovary"),
    LinesStatement[1],
    LinesStatement[2],
};

} // namespace

TForm7::TForm7(Database &database, QWidget *parent)
    : MovementScreen(database, parent), ui(std::make_unique<Ui::TForm7>())
{
    ui->setupUi(this);

    Query1->sql().setLines({QStringLiteral("Select nadhodgennya.id, postachalnuku.nazvaPostachalnuka, spivrobitnuku.PIB, "
                                           "nadhodgennya.DataNadhodgenya, nadhodgennya.IdPostachalnuka, nadhodgennya.IdSpivrobitnuka"),
                            QStringLiteral("From nadhodgennya, postachalnuku, spivrobitnuku"),
                            QStringLiteral("Where nadhodgennya.IdPostachalnuka = postachalnuku.id AND "
                                           "nadhodgennya.IdSpivrobitnuka = spivrobitnuku.id")});
    Query1->addField({QStringLiteral("id"), FieldType::Integer, 0, QStringLiteral("Код"), 6, false});
    Query1->addField({QStringLiteral("nazvaPostachalnuka"), FieldType::String, 50, QStringLiteral("Постачальник"), 36});
    Query1->addField({QStringLiteral("PIB"), FieldType::String, 40, QStringLiteral("Співробітник"), 32});
    Query1->addField({QStringLiteral("DataNadhodgenya"), FieldType::Date, 0, QStringLiteral("Дата"), 14});
    Query1->addField({QStringLiteral("IdPostachalnuka"), FieldType::Integer, 0, QString(), 0, false});
    Query1->addField({QStringLiteral("IdSpivrobitnuka"), FieldType::Integer, 0, QString(), 0, false});

    Query3->sql().setLines(StoredLinesStatement);
    Query3->addField({QStringLiteral("id"), FieldType::Integer, 0, QStringLiteral("Код"), 0, false});
    Query3->addField({QStringLiteral("NazvaTovary"), FieldType::String, 40, QStringLiteral("Назва товару"), 35});
    Query3Kilkist = Query3->addField({QStringLiteral("Kilkist"), FieldType::Float, 0, QStringLiteral("Кількість"), 14});
    Query3->addField({QStringLiteral("Cina"), FieldType::Float, 0, QStringLiteral("Ціна"), 14});
    Query3->addField({QStringLiteral("IdTovary"), FieldType::Integer, 0, QString(), 0, false});
    Query3->addField({QStringLiteral("IdNadhodgennya"), FieldType::Integer, 0, QString(), 0, false});
    Query3->addField({QStringLiteral("id_1"), FieldType::Integer, 0, QString(), 0, false});
    Query3->addField({QStringLiteral("Suma"), FieldType::Float, 0, QStringLiteral("Сума"), 14, true, FieldKind::Calculated});

    setUp(*ui,
          {.header = {QStringLiteral("nadhodgennya"), QStringLiteral("IdPostachalnuka"), QStringLiteral("DataNadhodgenya"),
                      QStringLiteral("postachalnuku"), QStringLiteral("NazvaPostachalnuka")},
           .lines = {.table = QStringLiteral("chonadishlo"), .insertPrice = QStringLiteral("Cina"), .updatePrice = QStringLiteral("cina"),
                     .header = QStringLiteral("IdNadhodgennya")},
           .linesStatement = LinesStatement,
           .linesCondition = QStringLiteral("and chonadishlo.IdNadhodgennya="),
           .priceField = QStringLiteral("Cina"),
           .noLinesText = QStringLiteral("Введіть дані про постачання")},
          ui->DateTimePicker3);
    onEvent(ui->BitBtn13, &QPushButton::clicked, this, &TForm7::BitBtn13Click);
}

TForm7::~TForm7() = default;

// --- posting to the base warehouse ----------------------------------------------------------

void TForm7::BitBtn13Click()
{
    if (!Query1->active() || Query1->isEmpty() || !Query3->active() || Query3->isEmpty()) {
        showMessage(QStringLiteral("Введіть дані про постачання"));
        return;
    }
    if (!lineQuantitiesArePositive(*Query3, Query3Kilkist, Query3->fieldByName(QStringLiteral("NazvaTovary"))))
        return;
    StockCommand command(*Query2->database(), StockDocument::Receipt, Query1->fieldByName(QStringLiteral("id"))->asInteger());
    if (!confirmAgain(command.earlierMove(), QStringLiteral("Це надходження вже оприбутковане на склад %1. Оприбуткувати ще раз?")))
        return;
    // All lines or none, with their journal rows: a failure anywhere leaves the base stock as it was.
    const std::vector<ReceiptLine> lines = receiptLines();
    StockCommand::Outcome outcome = StockCommand::Outcome::Done;
    runOverLines(QStringLiteral("Оприбуткування на склад..."),
                 [&](const LinesDone &progress) { outcome = postReceipt(command, lines, progress); });
    if (outcome == StockCommand::Outcome::DoneDespiteLostCommit)
        showMessage(command.doneDespiteLostCommitText());
    command.refreshAfter([&] {
        reopen(*Query1);
        if (m_stock)
            m_stock->stockChanged();
    });
}

// The lines of the current receipt, in the grid's order, read without moving its current line.
std::vector<ReceiptLine> TForm7::receiptLines() const
{
    const Field *goods = Query3->fieldByName(QStringLiteral("IdTovary"));
    std::vector<ReceiptLine> lines;
    lines.reserve(size_t(Query3->recordCount()));
    for (int row = 0; row < Query3->recordCount(); ++row)
        lines.push_back({Query3->value(row, goods).toLongLong(), Query3->value(row, Query3Kilkist).toDouble()});
    return lines;
}

} // namespace coop
