#include "form4.h"

#include "data/format.h"
#include "data/query.h"
#include "ui_form4.h"
#include "widgets/keyfilteredit.h"

namespace coop {

TForm4::TForm4(Database &database, QWidget *parent)
    : ReferenceScreen(database, parent), Query1(makeQuery(database, "Query1")),
      Query2(makeQuery(database, "Query2")), ui(std::make_unique<Ui::TForm4>())
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

    Roles roles;
    roles.grid = ui->DBGrid1;
    roles.add = ui->BitBtn1;
    roles.edit = ui->BitBtn2;
    roles.remove = ui->BitBtn3;
    roles.search = ui->BitBtn6;
    roles.filter = ui->BitBtn7;
    roles.showAll = ui->BitBtn8;
    roles.exportButton = ui->BitBtn9;
    roles.close = ui->BitBtn10;
    roles.accept = ui->BitBtn4;
    roles.cancel = ui->BitBtn5;
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

}

TForm4::~TForm4() = default;

void TForm4::clearEntries()
{
    ui->Edit1->clear();
    ui->Edit2->clear();
    ui->MaskEdit1->clear();
    ui->Edit4->clear();
}

void TForm4::showCurrentRow()
{
    ui->Edit1->setText(Query1->fieldByName(QStringLiteral("NazvaPostachalnuka"))->asString());
    ui->Edit2->setText(Query1->fieldByName(QStringLiteral("Adresa"))->asString());
    ui->MaskEdit1->setText(Query1->fieldByName(QStringLiteral("Telefon"))->asString());
    ui->Edit4->setText(Query1->fieldByName(QStringLiteral("KodEDRPOU"))->asString());
}

// A code ЄДРПОУ has eight digits; six are still accepted, as rows stored earlier may hold them.
bool TForm4::entriesValid() const
{
    const qsizetype codeLength = ui->Edit4->text().size();
    return !ui->Edit1->text().isEmpty() && !ui->Edit2->text().isEmpty() && (codeLength == 8 || codeLength == 6);
}

// The telephone goes between quotes as the mask gives it: digits, blanks and the mask's own
// characters, nothing that could end the literal.
QString TForm4::insertStatement() const
{
    return QStringLiteral("INSERT INTO postachalnuku (NazvaPostachalnuka,Adresa,Telefon,KodEDRPOU) values(")
           + QuoteSqlText(ui->Edit1->text()) + u',' + QuoteSqlText(ui->Edit2->text()) + QStringLiteral(",'")
           + ui->MaskEdit1->text() + QStringLiteral("',") + QuoteSqlText(ui->Edit4->text()) + u')';
}

QString TForm4::updateStatement(const QString &rowId) const
{
    return QStringLiteral("Update postachalnuku Set NazvaPostachalnuka=") + QuoteSqlText(ui->Edit1->text())
           + QStringLiteral(", Adresa=") + QuoteSqlText(ui->Edit2->text()) + QStringLiteral(", Telefon='")
           + ui->MaskEdit1->text() + QStringLiteral("', KodEDRPOU=") + QuoteSqlText(ui->Edit4->text())
           + QStringLiteral(" Where Id=") + rowId;
}

} // namespace coop
