#include "form4.h"

#include "data/query.h"
#include "ui_form4.h"
#include "widgets/keyfilteredit.h"

namespace coop {

TForm4::TForm4(Database &database, QWidget *parent) : ColumnCatalog(database, parent), ui(std::make_unique<Ui::TForm4>())
{
    ui->setupUi(this);
    setCancelButton(ui->BitBtn5);
    attachKeyFilter(ui->Edit4, DigitsOnlyFilter); // Edit4KeyPress
    setUp(*ui,
          {.name = QStringLiteral("postachalnuku"),
           .grid = {QStringLiteral("Select * "), QStringLiteral("From postachalnuku")},
           .columns =
               {{ui->Label1,
                 ui->Edit1,
                 {QStringLiteral("NazvaPostachalnuka"), FieldType::String, 50, QStringLiteral("Назва постачальника"), 40}},
                {ui->Label2, ui->Edit2, {QStringLiteral("Adresa"), FieldType::String, 50, QStringLiteral("Адреса"), 30}},
                {ui->Label3, ui->MaskEdit1, {QStringLiteral("Telefon"), FieldType::String, 15, QStringLiteral("Телефон"), 16}},
                {ui->Label4, ui->Edit4, {QStringLiteral("KodEDRPOU"), FieldType::Float, 0, QStringLiteral("Код ЄДРПОУ"), 14}}},
           .toolbar = {ui->BitBtn6, ui->BitBtn7, ui->BitBtn8, ui->BitBtn9, ui->BitBtn10},
           .rules = {.usage = {QStringLiteral("IdPostachalnuka"), {QStringLiteral("nadhodgennya")}},
                     .refusal = UsedElsewhere,
                     .deleteKey = QStringLiteral("id")}});
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
