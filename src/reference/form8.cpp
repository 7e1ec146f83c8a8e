#include "form8.h"

#include "data/query.h"
#include "ui_form8.h"

namespace coop {

TForm8::TForm8(Database &database, QWidget *parent) : ColumnCatalog(database, parent), ui(std::make_unique<Ui::TForm8>())
{
    ui->setupUi(this);
    // "Відмінити" is not the window's cancel button here: Esc does not press it.
    setUp(*ui,
          {.name = QStringLiteral("viddilu"),
           .grid = {QStringLiteral("Select * "), QStringLiteral("From viddilu ")},
           .columns = {{ui->Label1,
                        ui->Edit1,
                        {QStringLiteral("NazvaViddily"), FieldType::String, 43, QStringLiteral("Назва відділу"), 35}},
                       {ui->Label2,
                        ui->Edit2,
                        {QStringLiteral("MisceRoztash"), FieldType::String, 40, QStringLiteral("Місце розташування")}}},
           .toolbar = {ui->BitBtn7, ui->BitBtn8, ui->BitBtn9, ui->BitBtn6, ui->BitBtn10},
           .rules = {.usage = {QStringLiteral("IdViddily"), {QStringLiteral("spivrobitnuku")}},
                     .refusal = UsedElsewhere,
                     .deleteKey = QStringLiteral("id")}});
}

TForm8::~TForm8() = default;

} // namespace coop
