#include "form14.h"
#include "quantitytext.h"

#include "data/format.h"
#include "data/query.h"
#include "screens/goodsline.h"
#include "screens/screenhelpers.h"
#include "ui_form14.h"
#include "widgets/handler.h"
#include "widgets/keyfilteredit.h"

namespace coop {

namespace {

const QStringList LinesStatement = {
    QStringLiteral("Select reveziyamagazuny.id,  reveziyamagazuny.IdMagazuny,  reveziyamagazuny.IdTovary,  "
                   "reveziyamagazuny.Kilkist,  reveziyamagazuny.CinaRozdribna, reveziyamagazuny.Data, magazunu.id, "
                   "tovary.NazvaTovary"),
    QStringLiteral("From  reveziyamagazuny, magazunu, tovary"),
    QStringLiteral("Where reveziyamagazuny.IdMagazuny = magazunu.id AND  reveziyamagazuny.IdTovary = tovary.id"),
};

} // namespace

TForm14::TForm14(Database &database, QWidget *parent)
    : DocumentScreen(parent), Query1(makeQuery(database, "Query1")), Query2(makeQuery(database, "Query2")),
      Query3(makeQuery(database, "Query3")), ui(std::make_unique<Ui::TForm14>())
{
    ui->setupUi(this);

    Query1->sql().setLines({QStringLiteral("Select *"), QStringLiteral("From magazunu")});
    Query1->addField({QStringLiteral("Id"), FieldType::Integer, 0, QString(), 0, false});
    Query1->addField({QStringLiteral("NazvaMagazuny"), FieldType::String, 32, QStringLiteral("Назва магазину"), 26});
    Query1->addField({QStringLiteral("AdresaMagazuny"), FieldType::String, 40, QString(), 0, false});
    Query1->addField({QStringLiteral("IdSpivrobitnuka"), FieldType::Integer, 0, QString(), 0, false});

    // Until the first shop is current the lines are those of no shop in particular; the join with
    // the shops gives none while there are no shops.
    Query2->sql().setLines(LinesStatement);
    Query2->addField({QStringLiteral("id"), FieldType::Integer, 0, QString(), 0, false});
    Query2->addField({QStringLiteral("IdMagazuny"), FieldType::Integer, 0, QString(), 0, false});
    Query2->addField({QStringLiteral("IdTovary"), FieldType::Integer, 0, QString(), 0, false});
    Query2->addField({QStringLiteral("NazvaTovary"), FieldType::String, 40, QStringLiteral("Назва товару"), 25});
    const Field *quantity = Query2->addField({QStringLiteral("Kilkist"), FieldType::Float, 0, QStringLiteral("Кількість")});
    const Field *price = Query2->addField({QStringLiteral("CinaRozdribna"), FieldType::Float, 0, QStringLiteral("Ціна роздрібна")});
    Query2->addField({QStringLiteral("id_1"), FieldType::Integer, 0, QString(), 0, false});
    const Field *date = Query2->addField({QStringLiteral("Data"), FieldType::Date, 0, QStringLiteral("Дата ревізії")});

    ui->DBGrid1->setQuery(Query1);
    ui->DBGrid2->setQuery(Query2);
    attachKeyFilter(ui->Edit1, DigitsOnlyFilter);
    attachKeyFilter(ui->Edit2, CommaDecimalFilter);

    m_lines = std::make_unique<GoodsLinePanel>(
        GoodsLineEntries{ui->ComboBox1, ui->Edit1, ui->Edit2, ui->DateTimePicker1},
        GoodsLineFields{Query2->fieldByName(QStringLiteral("id")), Query2->fieldByName(QStringLiteral("IdTovary")), quantity, price,
                        date, Query1->fieldByName(QStringLiteral("Id"))},
        GoodsLineTable{QStringLiteral("reveziyamagazuny"), QStringLiteral("Cinarozdribna"), QStringLiteral("cinaRozdribna"),
                       QStringLiteral("Data"), QStringLiteral("data"), QStringLiteral("IdMagazuny"), AuditQuantityText},
        *Query3, *Query3);

    Roles roles;
    roles.header = Query1;
    roles.lines = Query2;
    roles.headerGrid = ui->DBGrid1;
    roles.linesGrid = ui->DBGrid2;
    roles.linesStatement = LinesStatement;
    roles.linesCondition = QStringLiteral("and reveziyamagazuny.Idmagazuny=");
    roles.linesPanel = Panel{m_lines.get(), ui->BitBtn1, ui->BitBtn2, ui->BitBtn3, ui->BitBtn4, ui->BitBtn5,
                             {ui->ComboBox1, ui->Edit1, ui->Edit2, ui->DateTimePicker1, ui->Label1, ui->Label2, ui->Label3, ui->Label4},
                             EditMode::Insert, EditMode::Update, QStringLiteral("Увага!!!")};
    roles.filter = DateFilter{Query2, QStringLiteral("Data"), ui->DateTimePicker2, ui->DateTimePicker3, ui->BitBtn7};
    roles.close = ui->BitBtn6;
    setRoles(roles);

    onEvent(ui->BitBtn8, &QPushButton::clicked, this, &TForm14::BitBtn8Click);
}

TForm14::~TForm14() = default;

void TForm14::reach(std::function<void()> previewAct) { m_previewAct = std::move(previewAct); }

void TForm14::BitBtn8Click() { previewDocument(QStringLiteral("Введіть дані про ревізію"), m_previewAct); }

} // namespace coop
