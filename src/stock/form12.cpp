#include "form12.h"

#include "data/query.h"
#include "screens/screenhelpers.h"
#include "ui_form12.h"
#include "widgets/handler.h"

namespace coop {

TForm12::TForm12(Database &database, QWidget *parent)
    : Screen(parent), Query1(makeQuery(database, "Query1")), History(new TMovementHistory(database, this)),
      ui(std::make_unique<Ui::TForm12>())
{
    ui->setupUi(this);
    Query1->sql().setLines({QStringLiteral("Select baza.id, baza.idTovary, baza.kilkistNaBazi, tovary.nazvatovary"),
                            QStringLiteral("From baza, tovary"), QStringLiteral("Where baza.idTovary = Tovary.Id")});
    Query1->addField({QStringLiteral("id"), FieldType::Integer, 0, QStringLiteral("Код"), 6});
    Query1->addField({QStringLiteral("nazvatovary"), FieldType::String, 40, QStringLiteral("Назва товару"), 30});
    Query1->addField({QStringLiteral("idTovary"), FieldType::Integer, 0, QString(), 0, false});
    Query1->addField({QStringLiteral("kilkistNaBazi"), FieldType::Float, 0, QStringLiteral("Кількість на складі")});
    ui->DBGrid1->setQuery(Query1);

    onEvent(ui->BitBtn1, &QPushButton::clicked, this, &TForm12::BitBtn1Click);
    onEvent(ui->BitBtn2, &QPushButton::clicked, this, &TForm12::BitBtn2Click);
    // A double click or Enter on a row.
    onEvent(ui->DBGrid1, &QAbstractItemView::activated, this, &TForm12::DBGrid1Activated);
}

TForm12::~TForm12() = default;

void TForm12::BitBtn1Click() { close(); }

void TForm12::showStock() { showModal(*this); }

void TForm12::stockChanged() { reopen(*Query1); }

void TForm12::BitBtn2Click()
{
    Query1->open();
    if (m_previewStockCard)
        m_previewStockCard();
}

void TForm12::DBGrid1Activated()
{
    if (Query1->active() && !Query1->isEmpty())
        History->showFor(Query1->fieldByName(QStringLiteral("idTovary"))->asInteger(), std::nullopt,
                         Query1->fieldByName(QStringLiteral("nazvatovary"))->asString(), QString());
}

} // namespace coop
