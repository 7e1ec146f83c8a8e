#include "form3.h"

#include "data/format.h"
#include "data/query.h"
#include "screens/screenhelpers.h"
#include "ui_form3.h"
#include "widgets/handler.h"
#include "widgets/keyfilteredit.h"

namespace coop {

namespace {

const QString AllRows = QStringLiteral("-Всі записи-");

// A filter list: "-Всі записи-" and then the name of every row, in the order the server gives them.
void fillFilterList(QComboBox &box, Query &query, const QString &nameField)
{
    box.clear();
    box.addItem(AllRows);
    if (!query.isEmpty()) {
        query.first();
        for (int row = 0; row < query.recordCount(); ++row, query.next())
            box.addItem(query.fieldByName(nameField)->asString());
    }
    box.setCurrentIndex(0);
}

// A date column's value as the date mask shows it; a row without the date raises the conversion
// error, so that "Редагувати" stops before the panel opens.
QString maskedDate(const Field &field) { return FormatSqlDate(ReadLocaleDate(field.asString())); }

} // namespace

TForm3::TForm3(Database &database, QWidget *parent)
    : ColumnCatalog(database, parent), Query3(makeQuery(database, "Query3")), Query4(makeQuery(database, "Query4")),
      Query5(makeQuery(database, "Query5")), Query6(makeQuery(database, "Query6")), Query7(makeQuery(database, "Query7")),
      ui(std::make_unique<Ui::TForm3>())
{
    ui->setupUi(this);
    // "Відмінити" is not the window's cancel button here: Esc does not press it.
    attachKeyFilter(ui->Edit4, DigitsOnlyFilter);   // Edit4KeyPress
    attachKeyFilter(ui->Edit7, PointDecimalFilter); // Edit7KeyPress

    Query6->sql().setLines({QStringLiteral("Select *"), QStringLiteral("From viddilu")});
    Query7->sql().setLines({QStringLiteral("Select *"), QStringLiteral("From magazunu")});

    setUp(
        *ui,
        {.name = QStringLiteral("spivrobitnuku"),
         .grid =
             {QStringLiteral(
                  "SELECT spivrobitnuku.Id, spivrobitnuku.PIB, spivrobitnuku.DataNarodgennya, spivrobitnuku.PasportniDani, "
                  "spivrobitnuku.IPN, spivrobitnuku.DataVlash,spivrobitnuku.Adresa, spivrobitnuku.Telefon, viddilu.NazvaViddily, "
                  "posadu.NazvaPosadu, spivrobitnuku.Oklad, magazunu.NazvaMagazuny, spivrobitnuku.IdViddily, "
                  "spivrobitnuku.IdPosadu, spivrobitnuku.Idmagazuny"),
              QStringLiteral("FROM spivrobitnuku, posadu, viddilu, magazunu"),
              QStringLiteral("WHERE spivrobitnuku.IdPosadu = posadu.Id AND spivrobitnuku.IdViddily = viddilu.Id AND "
                             "spivrobitnuku.IdMagazuny=magazunu.id")},
         .key = {QStringLiteral("Id"), FieldType::Integer, 0, QStringLiteral("Код")},
         .columns = {{ui->Label1, ui->Edit1, {QStringLiteral("PIB"), FieldType::String, 40, QStringLiteral("ПІБ"), 30}},
                     {ui->Label2,
                      ui->MaskEdit1,
                      {QStringLiteral("DataNarodgennya"), FieldType::Date, 0, QStringLiteral("Дата народження")}},
                     {ui->Label3,
                      ui->Edit3,
                      {QStringLiteral("PasportniDani"), FieldType::String, 8, QStringLiteral("Паспортні дані"), 10}},
                     {ui->Label4, ui->Edit4, {QStringLiteral("IPN"), FieldType::Float, 0, QStringLiteral("ІПН")}},
                     {ui->Label5,
                      ui->MaskEdit2,
                      {QStringLiteral("DataVlash"), FieldType::Date, 0, QStringLiteral("Дата влаштування")}},
                     {ui->Label6, ui->Edit6, {QStringLiteral("Adresa"), FieldType::String, 40, QStringLiteral("Адреса"), 25}},
                     {ui->Label7, ui->MaskEdit3, {QStringLiteral("Telefon"), FieldType::String, 15, QStringLiteral("Телефон")}},
                     {nullptr, nullptr, {QStringLiteral("NazvaViddily"), FieldType::String, 40, QStringLiteral("Відділ"), 15}},
                     {ui->Label8,
                      ui->ComboBox1,
                      {QStringLiteral("IdViddily"), FieldType::Integer, 0, QString(), 0, false},
                      {QStringLiteral("SELECT* FROM viddilu"), QStringLiteral("NazvaViddily")}},
                     {nullptr, nullptr, {QStringLiteral("NazvaPosadu"), FieldType::String, 32, QStringLiteral("Посада"), 15}},
                     {ui->Label9,
                      ui->ComboBox2,
                      {QStringLiteral("IdPosadu"), FieldType::Integer, 0, QString(), 0, false},
                      {QStringLiteral("SELECT* FROM posadu"), QStringLiteral("NazvaPosadu"), Query3}},
                     {ui->Label10, ui->Edit7, {QStringLiteral("Oklad"), FieldType::Float, 0, QStringLiteral("Оклад")}},
                     {ui->Label11,
                      ui->ComboBox3,
                      {QStringLiteral("IdMagazuny"), FieldType::String, 11, QString(), 0, false},
                      {QStringLiteral("SELECT* FROM magazunu"), QStringLiteral("NazvaMagazuny"), Query4}},
                     {nullptr, nullptr, {QStringLiteral("NazvaMagazuny"), FieldType::String, 32, QStringLiteral("Магазин"), 15}}},
         .toolbar = {ui->BitBtn7, ui->BitBtn8, ui->BitBtn9, ui->BitBtn10, ui->BitBtn11},
         .browsingOnly = {ui->BitBtn6, ui->ComboBox4, ui->ComboBox5, ui->Label12, ui->Label13},
         .rules = {.kind = Kind::Joined,
                   .showAllCondition =
                       QStringLiteral("WHERE spivrobitnuku.IdPosadu = posadu.Id AND spivrobitnuku.IdViddily = viddilu.Id AND "
                                      "spivrobitnuku.Idmagazuny=magazunu.id"),
                   .entryCheckText = QStringLiteral("Введіть коректні дані"),
                   .writeRunner = Query5,
                   .usage = {QStringLiteral("IdSpivrobitnuka"),
                             {QStringLiteral("magazunu"), QStringLiteral("nadhodgennya"), QStringLiteral("rozpodil"),
                              QStringLiteral("vurychka")},
                             {Query2, Query3, Query4, Query5}}}});

    onEvent(ui->BitBtn6, &QPushButton::clicked, this, &TForm3::BitBtn6Click);
    onEvent(ui->ComboBox4, &ComboBox::closeUp, this, &TForm3::ComboBox4CloseUp);
    onEvent(ui->ComboBox5, &ComboBox::closeUp, this, &TForm3::ComboBox5CloseUp);
    onEvent(ui->DateTimePicker1, &DateTimePicker::closeUp, this, &TForm3::DateTimePicker1CloseUp);
    onEvent(ui->DateTimePicker2, &DateTimePicker::closeUp, this, &TForm3::DateTimePicker2CloseUp);
}

TForm3::~TForm3() = default;

void TForm3::FormCreate()
{
    fillFilterList(*ui->ComboBox4, *Query6, QStringLiteral("NazvaViddily"));
    fillFilterList(*ui->ComboBox5, *Query7, QStringLiteral("NazvaMagazuny"));
}

void TForm3::BitBtn6Click() { Query1->setFiltered(false); }

void TForm3::ComboBox4CloseUp()
{
    filterByName(QStringLiteral("NazvaViddily"), ui->ComboBox4->currentIndex(), ui->ComboBox4->currentText());
}

void TForm3::ComboBox5CloseUp()
{
    filterByName(QStringLiteral("NazvaMagazuny"), ui->ComboBox5->currentIndex(), ui->ComboBox5->currentText());
}

void TForm3::DateTimePicker1CloseUp() { filterByEmploymentDate(); }
void TForm3::DateTimePicker2CloseUp() { filterByEmploymentDate(); }

// The three client-side filters share the grid query's one filter: each replaces whichever was in
// force, and it stays in force when the query is reopened.
void TForm3::filterByName(const QString &fieldName, int index, const QString &name)
{
    if (index < 1) {
        Query1->setFiltered(false);
        return;
    }
    Query1->setFilter(fieldName + u'=' + QuoteSqlText(name));
    Query1->setFiltered(true);
}

void TForm3::filterByEmploymentDate()
{
    Query1->setFilter(QStringLiteral("DataVlash>='") + LocaleDateText(ui->DateTimePicker1->date()) + QStringLiteral("' and DataVlash<='")
                      + LocaleDateText(ui->DateTimePicker2->date()) + u'\'');
    Query1->setFiltered(true);
    closePanelAfterMove(); // the pickers stay enabled while the panel is open
}

// The table's columns as they are, but the dates as their masks show them and the salary with a
// decimal point.
void TForm3::showCurrentRow()
{
    ColumnCatalog::showCurrentRow();
    ui->MaskEdit1->setText(maskedDate(*Query1->fieldByName(QStringLiteral("DataNarodgennya"))));
    ui->MaskEdit2->setText(maskedDate(*Query1->fieldByName(QStringLiteral("DataVlash"))));
    ui->Edit7->setText(ui->Edit7->text().replace(u',', u'.'));
}

bool TForm3::entriesValid() const
{
    return !ui->Edit1->text().isEmpty() && ui->Edit3->text().size() == 8 && ui->Edit4->text().size() == 10
           && !ui->Edit6->text().isEmpty() && !ui->Edit7->text().isEmpty() && ui->MaskEdit1->isComplete()
           && ui->MaskEdit2->isComplete() && ui->MaskEdit3->isComplete();
}

// Every value in quotes; the masked texts and the ids go between the quotes as they are (digits,
// blanks and the masks' own characters, nothing that could end the literal).
QString TForm3::insertStatement() const
{
    return QStringLiteral("INSERT INTO spivrobitnuku (PIB,DataNarodgennya,PasportniDani,IPN,DataVlash,Adresa,Telefon,IdViddily,"
                          "IdPosadu,Oklad,IdMagazuny) values (")
           + QuoteSqlText(ui->Edit1->text()) + QStringLiteral(",'") + ui->MaskEdit1->text() + QStringLiteral("',")
           + QuoteSqlText(ui->Edit3->text()) + u',' + QuoteSqlText(ui->Edit4->text()) + QStringLiteral(",'")
           + ui->MaskEdit2->text() + QStringLiteral("',") + QuoteSqlText(ui->Edit6->text()) + QStringLiteral(",'")
           + ui->MaskEdit3->text() + QStringLiteral("','") + ui->ComboBox1->selectedId() + QStringLiteral("','")
           + ui->ComboBox2->selectedId() + QStringLiteral("',") + QuoteSqlText(ui->Edit7->text()) + QStringLiteral(",'")
           + ui->ComboBox3->selectedId() + QStringLiteral("')");
}

QString TForm3::updateStatement(const QString &rowId) const
{
    return QStringLiteral("UPDATE spivrobitnuku Set PIB=") + QuoteSqlText(ui->Edit1->text()) + QStringLiteral(", DataNarodgennya='")
           + ui->MaskEdit1->text() + QStringLiteral("', PasportniDani=") + QuoteSqlText(ui->Edit3->text())
           + QStringLiteral(", IPN=") + QuoteSqlText(ui->Edit4->text()) + QStringLiteral(", DataVlash='") + ui->MaskEdit2->text()
           + QStringLiteral("', Adresa=") + QuoteSqlText(ui->Edit6->text()) + QStringLiteral(", Telefon='") + ui->MaskEdit3->text()
           + QStringLiteral("', IdViddily=") + ui->ComboBox1->selectedId() + QStringLiteral(", IdPosadu=")
           + ui->ComboBox2->selectedId() + QStringLiteral(", Oklad=") + QuoteSqlText(ui->Edit7->text())
           + QStringLiteral(", IdMagazuny=") + ui->ComboBox3->selectedId() + QStringLiteral(" WHERE spivrobitnuku.Id=") + rowId;
}

} // namespace coop
