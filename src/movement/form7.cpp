#include "form7.h"

#include "data/database.h"
#include "data/format.h"
#include "data/query.h"
#include "data/stockjournal.h"
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
    if (command.run([&] { postLines(command); }) == StockCommand::Outcome::DoneDespiteLostCommit)
        showMessage(command.doneDespiteLostCommitText());
    command.refreshAfter([&] {
        reopen(*Query1);
        if (m_stock)
            m_stock->stockChanged();
    });
}

void TForm7::postLines(StockCommand &command)
{
    const Field *goodsField = Query3->fieldByName(QStringLiteral("IdTovary"));
    walkLines(QStringLiteral("Оприбуткування на склад..."), [&] {
        const QString goods = goodsField->asString();
        // The field text of a whole quantity is its digits; a fractional one stored from elsewhere
        // would carry the locale's comma into the statement, so it goes as SQL number text.
        const QString quantity = FormatSqlNumber(Query3Kilkist->asFloat());
        Query2->sql().clear();
        Query2->sql().add(QStringLiteral("Select (count(`Id`)) as 'cnt' from `baza`"));
        Query2->sql().add(QStringLiteral("where (`IdTovary`=") + goods + QStringLiteral(");"));
        Query2->open();
        const qint64 count = Query2->fieldByName(QStringLiteral("cnt"))->asInteger();
        Query2->sql().clear();
        if (count < 1)
            Query2->sql().add(QStringLiteral("insert into `baza` values (NULL,") + goods + u',' + quantity
                              + QStringLiteral(");"));
        else
            Query2->sql().add(QStringLiteral("Update baza SET KilkistNaBazi=KilkistNaBazi+(") + QuoteSqlText(quantity)
                              + QStringLiteral(") where IdTovary=") + goods);
        Query2->execSql();
        command.record({goods.toLongLong(), std::nullopt, Query3Kilkist->asFloat()});
    });
}

} // namespace coop
