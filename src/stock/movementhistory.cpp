#include "movementhistory.h"

#include "data/database.h"
#include "data/format.h"
#include "data/query.h"
#include "ledger/documentkinds.h"
#include "ledger/stockjournal.h"
#include "ui_movementhistory.h"
#include "widgets/handler.h"

namespace coop {

namespace {

// The document of each movement with its date, read beside the journal row, as the ledger's table
// of document kinds spells it.
QStringList movementsStatement()
{
    QStringList lines{QStringLiteral("Select DATE_FORMAT(ruhtovariv.Moment, '%d.%m.%Y %H:%i:%s') as Moment,")};
    const QStringList document = documentTextExpression(QStringLiteral("ruhtovariv"));
    for (qsizetype i = 0; i < document.size(); ++i)
        lines << QStringLiteral("  ") + document[i] + (i + 1 == document.size() ? QStringLiteral(" as Dokument,") : QString());
    lines << QStringLiteral("  ruhtovariv.Kilkist, ruhtovariv.Zalyshok, ruhtovariv.Korystuvach") << QStringLiteral("From ruhtovariv");
    for (const QString &join : documentJoins(QStringLiteral("ruhtovariv")))
        lines << QStringLiteral("  ") + join;
    return lines;
}

} // namespace

TMovementHistory::TMovementHistory(Database &database, QWidget *parent)
    : Screen(parent), Query1(makeQuery(database, "Query1")), Query2(makeQuery(database, "Query2")),
      ui(std::make_unique<Ui::TMovementHistory>())
{
    ui->setupUi(this);
    Query1->addField({QStringLiteral("Moment"), FieldType::String, 19, QStringLiteral("Дата і час"), 24});
    Query1->addField({QStringLiteral("Dokument"), FieldType::String, 60, QStringLiteral("Документ"), 38});
    Query1Kilkist = Query1->addField({QStringLiteral("Kilkist"), FieldType::Float, 0, QString(), 0, false});
    Query1Zmina = Query1->addField({QStringLiteral("Zmina"), FieldType::String, 20, QStringLiteral("Зміна"), 9, true, FieldKind::Calculated});
    Query1->addField({QStringLiteral("Zalyshok"), FieldType::Float, 0, QStringLiteral("Залишок"), 10});
    Query1->addField({QStringLiteral("Korystuvach"), FieldType::String, 128, QStringLiteral("Користувач"), 14});
    ui->DBGrid1->setQuery(Query1);
    setCancelButton(ui->BitBtn1);

    onEvent(Query1, QueryEvent::CalcFields, this, &TMovementHistory::Query1CalcFields);
    onEvent(ui->BitBtn1, &QPushButton::clicked, this, &TMovementHistory::BitBtn1Click);
}

TMovementHistory::~TMovementHistory() = default;

void TMovementHistory::showFor(qlonglong goods, std::optional<qlonglong> shop, const QString &goodsName, const QString &shopName)
{
    if (!hasStockJournal(*Query1->database()))
        return;
    const QString place = shop ? QStringLiteral("ruhtovariv.IdMagazuny = %1").arg(*shop) : QStringLiteral("ruhtovariv.IdMagazuny is null");
    QStringList lines = movementsStatement();
    lines << QStringLiteral("Where ruhtovariv.IdTovary = %1 and %2").arg(goods).arg(place) << QStringLiteral("Order by ruhtovariv.Id");
    Query1->sql().setLines(lines);
    Query1->open();
    Query1->last(); // the newest movement in sight, above the quantity that stands

    if (shop)
        Query2->sql().setLines({QStringLiteral("Select Kilkist from nayavnistvmagazuni where IdTovary = %1 and IdMagazuny = %2").arg(goods).arg(*shop)});
    else
        Query2->sql().setLines({QStringLiteral("Select KilkistNaBazi as Kilkist from baza where IdTovary = %1").arg(goods)});
    Query2->open();
    const QString standing = Query2->isEmpty() ? QStringLiteral("немає") : Query2->fieldByName(QStringLiteral("Kilkist"))->asString();
    Query2->close();

    ui->Label1->setText(shop ? QStringLiteral("%1, магазин «%2»").arg(goodsName, shopName) : QStringLiteral("%1, склад").arg(goodsName));
    ui->Label2->setText(QStringLiteral("Залишок зараз: %1").arg(standing));
    showModal(*this);
}

void TMovementHistory::Query1CalcFields()
{
    const double change = Query1Kilkist->asFloat();
    Query1Zmina->setValue(change > 0 ? u'+' + Query1Kilkist->asString() : Query1Kilkist->asString());
}

void TMovementHistory::BitBtn1Click() { close(); }

} // namespace coop
