#include "form13.h"

#include "data/query.h"
#include "screens/screenhelpers.h"
#include "ui_form13.h"
#include "widgets/handler.h"

namespace coop {

namespace {

const QStringList StockStatement = {
    QStringLiteral("Select nayavnistvmagazuni.id, nayavnistvmagazuni.IdMagazuny, nayavnistvmagazuni.IdTovary, "
                   "nayavnistvmagazuni.Kilkist, nayavnistvmagazuni.CinaOblikova, nayavnistvmagazuni.CinaRozdribna, "
                   "magazunu.id, tovary.nazvatovary"),
    QStringLiteral("From nayavnistvmagazuni, magazunu, tovary"),
    QStringLiteral("Where nayavnistvmagazuni.Idmagazuny = magazunu.id AND nayavnistvmagazuni.IdTovary = tovary.id"),
};

} // namespace

TForm13::TForm13(Database &database, QWidget *parent)
    : Screen(parent), Query1(makeQuery(database, "Query1")), Query3(makeQuery(database, "Query3")),
      History(new TMovementHistory(database, this)), ui(std::make_unique<Ui::TForm13>())
{
    ui->setupUi(this);
    Query1->sql().setLines({QStringLiteral("Select magazunu.id, magazunu.NazvaMagazuny, magazunu.AdresaMagazuny, "
                                           "spivrobitnuku.PIB, magazunu.IdSpivrobitnuka"),
                            QStringLiteral("From magazunu, spivrobitnuku"),
                            QStringLiteral("Where magazunu.IdSpivrobitnuka = spivrobitnuku.id"), QString()});
    Query1->addField({QStringLiteral("id"), FieldType::Integer, 0, QString(), 0, false});
    Query1->addField({QStringLiteral("NazvaMagazuny"), FieldType::String, 32, QStringLiteral("Назва магазину"), 30});
    Query1->addField({QStringLiteral("AdresaMagazuny"), FieldType::String, 40, QString(), 0, false});
    Query1->addField({QStringLiteral("PIB"), FieldType::String, 40, QString(), 0, false});
    Query1->addField({QStringLiteral("IdSpivrobitnuka"), FieldType::Integer, 0, QString(), 0, false});

    Query3->sql().setLines(StockStatement);
    Query3->addField({QStringLiteral("id"), FieldType::Integer, 0, QString(), 0, false});
    Query3->addField({QStringLiteral("IdMagazuny"), FieldType::Integer, 0, QString(), 0, false});
    Query3->addField({QStringLiteral("nazvatovary"), FieldType::String, 40, QStringLiteral("Назва товару"), 26});
    Query3->addField({QStringLiteral("IdTovary"), FieldType::Integer, 0, QString(), 0, false});
    Query3Kilkist = Query3->addField({QStringLiteral("Kilkist"), FieldType::Float, 0, QStringLiteral("Кількість")});
    Query3CinaOblikova = Query3->addField({QStringLiteral("CinaOblikova"), FieldType::Float, 0, QStringLiteral("Ціна облікова")});
    Query3->addField({QStringLiteral("CinaRozdribna"), FieldType::Float, 0, QStringLiteral("Ціна роздрібна")});
    Query3->addField({QStringLiteral("id_1"), FieldType::Integer, 0, QString(), 0, false});
    Query3Suma = Query3->addField({QStringLiteral("Suma"), FieldType::Float, 0, QStringLiteral("Сума"), 0, true, FieldKind::Calculated});

    ui->DBGrid1->setQuery(Query1);
    ui->DBGrid2->setQuery(Query3);

    onEvent(Query1, QueryEvent::AfterScroll, this, &TForm13::Query1AfterScroll);
    onEvent(Query3, QueryEvent::CalcFields, this, &TForm13::Query3CalcFields);
    onEvent(ui->BitBtn1, &QPushButton::clicked, this, &TForm13::BitBtn1Click);
    // A double click or Enter on a stock row.
    onEvent(ui->DBGrid2, &QAbstractItemView::activated, this, &TForm13::DBGrid2Activated);
}

TForm13::~TForm13() = default;

void TForm13::Query1AfterScroll()
{
    Query3->close();
    if (Query1->isEmpty())
        return;
    QStringList lines = StockStatement;
    lines.append(QStringLiteral("and nayavnistvmagazuni.Idmagazuny=") + Query1->fieldByName(QStringLiteral("id"))->asString());
    Query3->sql().setLines(lines);
    Query3->open();
}

void TForm13::Query3CalcFields()
{
    // A NULL quantity or price reads 0, and so counts as 0.
    Query3Suma->setValue(Query3Kilkist->asFloat() * Query3CinaOblikova->asFloat());
}

void TForm13::BitBtn1Click() { close(); }

void TForm13::DBGrid2Activated()
{
    if (!Query3->active() || Query3->isEmpty())
        return;
    // The shop of the stock row itself: with no shop listed the grid shows every shop's rows.
    const qlonglong shop = Query3->fieldByName(QStringLiteral("IdMagazuny"))->asInteger();
    const QString shopName = Query1->active() && !Query1->isEmpty() && Query1->fieldByName(QStringLiteral("id"))->asInteger() == shop
                                 ? Query1->fieldByName(QStringLiteral("NazvaMagazuny"))->asString()
                                 : QString::number(shop);
    History->showFor(Query3->fieldByName(QStringLiteral("IdTovary"))->asInteger(), shop,
                     Query3->fieldByName(QStringLiteral("nazvatovary"))->asString(), shopName);
}

void TForm13::showStock() { showModal(*this); }

// The stock of the current shop, as a transfer into it left it.
void TForm13::stockChanged() { reopen(*Query3); }

} // namespace coop
