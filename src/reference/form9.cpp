#include "form9.h"

#include "data/format.h"
#include "data/query.h"
#include "ui_form9.h"

namespace coop {

TForm9::TForm9(Database &database, QWidget *parent)
    : ColumnCatalog(database, parent), Query3(makeQuery(database, "Query3")), Query4(makeQuery(database, "Query4")),
      Query5(makeQuery(database, "Query5")), ui(std::make_unique<Ui::TForm9>())
{
    ui->setupUi(this);
    // "Відмінити" is not the window's cancel button here: Esc does not press it.
    setUp(*ui,
          {.name = QStringLiteral("magazunu"),
           .grid = {QStringLiteral("Select magazunu.id, magazunu.NazvaMagazuny, magazunu.AdresaMagazuny, spivrobitnuku.PIB, "
                                   "magazunu.IdSpivrobitnuka"),
                    QStringLiteral("From magazunu, spivrobitnuku"),
                    QStringLiteral("Where magazunu.IdSpivrobitnuka = spivrobitnuku.id")},
           .key = {QStringLiteral("id"), FieldType::Integer, 0, QStringLiteral("Код"), 6},
           .columns = {{ui->Label1,
                        ui->Edit1,
                        {QStringLiteral("NazvaMagazuny"), FieldType::String, 32, QStringLiteral("Назва магазину"), 25}},
                       {ui->Label2,
                        ui->Edit2,
                        {QStringLiteral("AdresaMagazuny"), FieldType::String, 40, QStringLiteral("Адреса магазину"), 30}},
                       {nullptr,
                        nullptr,
                        {QStringLiteral("PIB"), FieldType::String, 40, QStringLiteral("Завідуючий магазином"), 30}},
                       {ui->Label3,
                        ui->ComboBox1,
                        {QStringLiteral("IdSpivrobitnuka"), FieldType::Integer, 0, QString(), 0, false},
                        {QStringLiteral("SELECT* FROM spivrobitnuku"), QStringLiteral("PIB")}}},
           .toolbar = {ui->BitBtn6, ui->BitBtn7, ui->BitBtn8, ui->BitBtn9, ui->BitBtn10},
           .rules = {.kind = Kind::Joined,
                     .showAllCondition = QStringLiteral("WHERE magazunu.IdSpivrobitnuka = spivrobitnuku.Id"),
                     .entryCheckText = QStringLiteral("Введіть коректні дані"),
                     .writeRunner = Query3,
                     .usage = {QStringLiteral("IdMagazuny"),
                               {QStringLiteral("nayavnistvmagazuni"), QStringLiteral("reveziyamagazuny"),
                                QStringLiteral("rozpodil"), QStringLiteral("vurychka")},
                               {Query2, Query3, Query4, Query5}}}});
}

TForm9::~TForm9() = default;

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
