#include "form8.h"

#include "data/format.h"
#include "data/query.h"
#include "ui_form8.h"

namespace coop {

TForm8::TForm8(Database &database, QWidget *parent)
    : ColumnCatalog(database, parent), Query1(makeQuery(database, "Query1")), Query2(makeQuery(database, "Query2")),
      ui(std::make_unique<Ui::TForm8>())
{
    ui->setupUi(this);
    // "Відмінити" is not the window's cancel button here: Esc does not press it.

    Query1->sql().setLines({QStringLiteral("Select * "), QStringLiteral("From viddilu ")});
    Query1->addField({QStringLiteral("Id"), FieldType::Integer, 0, QStringLiteral("Код"), 6});
    Query1->addField({QStringLiteral("NazvaViddily"), FieldType::String, 43, QStringLiteral("Назва відділу"), 35});
    Query1->addField({QStringLiteral("MisceRoztash"), FieldType::String, 40, QStringLiteral("Місце розташування")});

    Roles roles = commonRoles(*ui);
    roles.search = ui->BitBtn7;
    roles.filter = ui->BitBtn8;
    roles.showAll = ui->BitBtn9;
    roles.exportButton = ui->BitBtn6;
    roles.close = ui->BitBtn10;
    roles.panel = {ui->Edit1, ui->Edit2, ui->Label1, ui->Label2};

    Rules rules;
    rules.gridQuery = Query1;
    rules.kind = Kind::SingleTable;
    rules.entryCheckText = QStringLiteral("Введіть дані");
    rules.writeRunner = Query2;
    rules.usageChecks = {{Query2, QStringLiteral("SELECT COUNT(*) From spivrobitnuku where spivrobitnuku.IdViddily=%s;")}};
    rules.refusalText = QStringLiteral("Даний запис використовується в інших таблицях");
    rules.reloadAfterRefusalOrNo = true;
    rules.deleteRunner = Query2;
    rules.deleteStatement = QStringLiteral("DELETE FROM viddilu WHERE viddilu.id=");
    setUp(roles, rules);
    setColumns(QStringLiteral("viddilu"),
               {{ui->Edit1, QStringLiteral("NazvaViddily")}, {ui->Edit2, QStringLiteral("MisceRoztash")}});
}

TForm8::~TForm8() = default;

} // namespace coop
