#include "form10.h"

#include "data/format.h"
#include "data/query.h"
#include "ui_form10.h"

namespace coop {

namespace {

QString countOf(const QString &table, const QString &column)
{
    return QStringLiteral("SELECT COUNT(*) From ") + table + QStringLiteral(" where ") + table + u'.' + column
           + QStringLiteral("=%s;");
}

} // namespace

TForm10::TForm10(Database &database, QWidget *parent)
    : ColumnCatalog(database, parent), Query1(makeQuery(database, "Query1")), Query2(makeQuery(database, "Query2")),
      Query3(makeQuery(database, "Query3")), Query4(makeQuery(database, "Query4")), Query5(makeQuery(database, "Query5")),
      Query6(makeQuery(database, "Query6")), Query7(makeQuery(database, "Query7")), ui(std::make_unique<Ui::TForm10>())
{
    ui->setupUi(this);
    setCancelButton(ui->BitBtn5);

    Query1->sql().setLines({QStringLiteral("Select *"), QStringLiteral("From tovary")});
    Query1->addField({QStringLiteral("Id"), FieldType::Integer, 0, QStringLiteral("Код"), 6});
    Query1->addField({QStringLiteral("NazvaTovary"), FieldType::String, 40, QStringLiteral("Назва товару")});
    Query1->addField({QStringLiteral("MarkaTovary"), FieldType::String, 30, QStringLiteral("Марка товару")});

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
    rules.usageChecks = {
        {Query2, countOf(QStringLiteral("baza"), QStringLiteral("IdTovary"))},
        {Query3, countOf(QStringLiteral("reveziyamagazuny"), QStringLiteral("IdTovary"))},
        {Query4, countOf(QStringLiteral("chonadishlo"), QStringLiteral("IdTovary"))},
        {Query5, countOf(QStringLiteral("nayavnistvmagazuni"), QStringLiteral("IdTovary"))},
        {Query6, countOf(QStringLiteral("pozuciireviziibazu"), QStringLiteral("IdTovary"))},
        {Query7, countOf(QStringLiteral("pozuciirozpodily"), QStringLiteral("IdTovary"))},
    };
    rules.refusalText = QStringLiteral("Неможливо видалити, запис зустрічається в інших таблицях!");
    rules.reloadAfterRefusalOrNo = false;
    rules.deleteRunner = Query2;
    rules.deleteStatement = QStringLiteral("DELETE FROM tovary WHERE tovary.Id=");
    setUp(roles, rules);
    setColumns(QStringLiteral("tovary"),
               {{ui->Edit1, QStringLiteral("NazvaTovary")}, {ui->Edit2, QStringLiteral("MarkaTovary")}});
}

TForm10::~TForm10() = default;

} // namespace coop
