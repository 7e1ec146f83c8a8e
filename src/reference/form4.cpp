#include "form4.h"

#include "data/format.h"
#include "data/query.h"
#include "ui_form4.h"
#include "widgets/keyfilteredit.h"

namespace coop {

TForm4::TForm4(Database &database, QWidget *parent)
    : ColumnCatalog(database, parent), Query1(makeQuery(database, "Query1")), Query2(makeQuery(database, "Query2")),
      ui(std::make_unique<Ui::TForm4>())
{
    ui->setupUi(this);
    setCancelButton(ui->BitBtn5);
    attachKeyFilter(ui->Edit4, DigitsOnlyFilter); // Edit4KeyPress

    Query1->sql().setLines({QStringLiteral("Select * "), QStringLiteral("From postachalnuku")});
    Query1->addField({QStringLiteral("Id"), FieldType::Integer, 0, QStringLiteral("Код"), 6});
    Query1->addField({QStringLiteral("NazvaPostachalnuka"), FieldType::String, 50, QStringLiteral("Назва постачальника"), 40});
    Query1->addField({QStringLiteral("Adresa"), FieldType::String, 50, QStringLiteral("Адреса"), 30});
    Query1->addField({QStringLiteral("Telefon"), FieldType::String, 15, QStringLiteral("Телефон"), 16});
    Query1->addField({QStringLiteral("KodEDRPOU"), FieldType::Float, 0, QStringLiteral("Код ЄДРПОУ"), 14});

    Roles roles = commonRoles(*ui);
    roles.search = ui->BitBtn6;
    roles.filter = ui->BitBtn7;
    roles.showAll = ui->BitBtn8;
    roles.exportButton = ui->BitBtn9;
    roles.close = ui->BitBtn10;
    roles.panel = {ui->Edit1, ui->Edit2, ui->MaskEdit1, ui->Edit4, ui->Label1, ui->Label2, ui->Label3, ui->Label4};

    Rules rules;
    rules.gridQuery = Query1;
    rules.kind = Kind::SingleTable;
    rules.entryCheckText = QStringLiteral("Введіть дані");
    rules.writeRunner = Query2;
    rules.usageChecks = {{Query2, QStringLiteral("SELECT COUNT(*) From nadhodgennya where nadhodgennya.IdPostachalnuka=%s;")}};
    rules.refusalText = QStringLiteral("Даний запис використовується в інших таблицях");
    rules.reloadAfterRefusalOrNo = true;
    rules.deleteRunner = Query2;
    rules.deleteStatement = QStringLiteral("DELETE FROM postachalnuku WHERE postachalnuku.id=");
    setUp(roles, rules);
    setColumns(QStringLiteral("postachalnuku"),
               {{ui->Edit1, QStringLiteral("NazvaPostachalnuka")},
                {ui->Edit2, QStringLiteral("Adresa")},
                {ui->MaskEdit1, QStringLiteral("Telefon")},
                {ui->Edit4, QStringLiteral("KodEDRPOU")}});
}

TForm4::~TForm4() = default;

// A code ЄДРПОУ has eight digits; six are still accepted, as rows stored earlier may hold them. The
// telephone may be left empty.
bool TForm4::entriesValid() const
{
    const qsizetype codeLength = ui->Edit4->text().size();
    return !ui->Edit1->text().isEmpty() && !ui->Edit2->text().isEmpty() && (codeLength == 8 || codeLength == 6);
}

} // namespace coop
