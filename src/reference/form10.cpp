#include "form10.h"

#include "data/query.h"
#include "ui_form10.h"

namespace coop {

TForm10::TForm10(Database &database, QWidget *parent)
    : ColumnCatalog(database, parent), Query3(makeQuery(database, "Query3")), Query4(makeQuery(database, "Query4")),
      Query5(makeQuery(database, "Query5")), Query6(makeQuery(database, "Query6")), Query7(makeQuery(database, "Query7")),
      ui(std::make_unique<Ui::TForm10>())
{
    ui->setupUi(this);
    setCancelButton(ui->BitBtn5);
    setUp(*ui,
          {.name = QStringLiteral("tovary"),
           .grid = {QStringLiteral("Select *"), QStringLiteral("From tovary")},
           .columns =
               {{ui->Label1, ui->Edit1, {QStringLiteral("NazvaTovary"), FieldType::String, 40, QStringLiteral("Назва товару")}},
                {ui->Label2, ui->Edit2, {QStringLiteral("MarkaTovary"), FieldType::String, 30, QStringLiteral("Марка товару")}}},
           .toolbar = {ui->BitBtn7, ui->BitBtn8, ui->BitBtn9, ui->BitBtn6, ui->BitBtn10},
           .rules = {.usage = {QStringLiteral("IdTovary"),
                               {QStringLiteral("baza"), QStringLiteral("reveziyamagazuny"), QStringLiteral("chonadishlo"),
                                QStringLiteral("nayavnistvmagazuni"), QStringLiteral("pozuciireviziibazu"),
                                QStringLiteral("pozuciirozpodily")},
                               {Query2, Query3, Query4, Query5, Query6, Query7}}}});
}

TForm10::~TForm10() = default;

} // namespace coop
