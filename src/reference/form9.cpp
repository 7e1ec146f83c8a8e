#include "form9.h"

#include "data/format.h"
#include "data/query.h"
#include "screens/screenhelpers.h"
#include "ui_form9.h"

namespace coop {

TForm9::TForm9(Database &database, QWidget *parent)
    : ReferenceScreen(database, parent), Query1(makeQuery(database, "Query1")),
      Query2(makeQuery(database, "Query2")), Query3(makeQuery(database, "Query3")),
      Query4(makeQuery(database, "Query4")), Query5(makeQuery(database, "Query5")),
      ui(std::make_unique<Ui::TForm9>())
{
    ui->setupUi(this);
    // "Відмінити" is not the window's cancel button here: Esc does not press it.

    Query1->sql().setLines({
        QStringLiteral("Select magazunu.id, magazunu.NazvaMagazuny, magazunu.AdresaMagazuny, spivrobitnuku.PIB, magazunu.IdSpivrobitnuka"),
        QStringLiteral("From magazunu, spivrobitnuku"),
        QStringLiteral("Where magazunu.IdSpivrobitnuka = spivrobitnuku.id"),
    });
    Query1->addField({QStringLiteral("id"), FieldType::Integer, 0, QStringLiteral("Код"), 6});
    Query1->addField({QStringLiteral("NazvaMagazuny"), FieldType::String, 32, QStringLiteral("Назва магазину"), 25});
    Query1->addField({QStringLiteral("AdresaMagazuny"), FieldType::String, 40, QStringLiteral("Адреса магазину"), 30});
    Query1->addField({QStringLiteral("PIB"), FieldType::String, 40, QStringLiteral("Завідуючий магазином"), 30});
    Query1->addField({QStringLiteral("IdSpivrobitnuka"), FieldType::Integer, 0, QString(), 0, false});

    Roles roles = commonRoles(*ui);
    roles.search = ui->BitBtn6;
    roles.filter = ui->BitBtn7;
    roles.showAll = ui->BitBtn8;
    roles.exportButton = ui->BitBtn9;
    roles.close = ui->BitBtn10;
    roles.panel = {ui->Edit1, ui->Edit2, ui->ComboBox1, ui->Label1, ui->Label2, ui->Label3};
    roles.choices = {ui->ComboBox1};

    Rules rules;
    rules.gridQuery = Query1;
    rules.kind = Kind::Joined;
    rules.showAllCondition = QStringLiteral("WHERE magazunu.IdSpivrobitnuka = spivrobitnuku.Id");
    rules.ownTable = QStringLiteral("magazunu");
    rules.entryCheckText = QStringLiteral("Введіть коректні дані");
    rules.writeRunner = Query3;
    rules.usageChecks = {
        {Query2, QStringLiteral("SELECT COUNT(*) From nayavnistvmagazuni where nayavnistvmagazuni.IdMagazuny=%s;")},
        {Query3, QStringLiteral("SELECT COUNT(*) From reveziyamagazuny where reveziyamagazuny.IdMagazuny=%s;")},
        {Query4, QStringLiteral("SELECT COUNT(*) From rozpodil where rozpodil.IdMagazuny=%s;")},
        {Query5, QStringLiteral("SELECT COUNT(*) From vurychka where vurychka.IdMagazuny=%s;")},
    };
    rules.refusalText = QStringLiteral("Неможливо видалити, запис зустрічається в інших таблицях!");
    rules.reloadAfterRefusalOrNo = false;
    rules.deleteRunner = Query2;
    rules.deleteStatement = QStringLiteral("DELETE FROM magazunu WHERE magazunu.Id=");
    setUp(roles, rules);

}

TForm9::~TForm9() = default;

void TForm9::clearEntries()
{
    ui->Edit1->clear();
    ui->Edit2->clear();
}

void TForm9::clearChoices() { ui->ComboBox1->setCurrentIndex(-1); }

void TForm9::fillChoices()
{
    fillIdComboBox(*ui->ComboBox1, *Query2, QStringLiteral("SELECT* FROM spivrobitnuku"), QStringLiteral("PIB"));
}

void TForm9::showCurrentRow()
{
    selectId(*ui->ComboBox1, Query1->fieldByName(QStringLiteral("IdSpivrobitnuka"))->asString());
    ui->Edit1->setText(Query1->fieldByName(QStringLiteral("NazvaMagazuny"))->asString());
    ui->Edit2->setText(Query1->fieldByName(QStringLiteral("AdresaMagazuny"))->asString());
}

bool TForm9::entriesValid() const { return !ui->Edit1->text().isEmpty() && !ui->Edit2->text().isEmpty(); }

QString TForm9::insertStatement() const
{
    return QStringLiteral("INSERT INTO magazunu (Nazvamagazuny,AdresaMagazuny,IdSpivrobitnuka) values (")
           + QuoteSqlText(ui->Edit1->text()) + u',' + QuoteSqlText(ui->Edit2->text()) + QStringLiteral(",'")
           + ui->ComboBox1->selectedId() + QStringLiteral("')");
}

QString TForm9::updateStatement(const QString &rowId) const
{
    return QStringLiteral("UPDATE magazunu Set Nazvamagazuny=") + QuoteSqlText(ui->Edit1->text())
           + QStringLiteral(", AdresaMagazuny=") + QuoteSqlText(ui->Edit2->text()) + QStringLiteral(", IdSpivrobitnuka=")
           + ui->ComboBox1->selectedId() + QStringLiteral(" WHERE magazunu.Id=") + rowId;
}

} // namespace coop
