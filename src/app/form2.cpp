#include "form2.h"

#include "ui_form2.h"
#include "widgets/handler.h"

namespace coop {

TForm2::TForm2() : ui(std::make_unique<Ui::TForm2>())
{
    ui->setupUi(this);
    setCancelButton(ui->BitBtn2);
    onEvent(ui->BitBtn1, &QPushButton::clicked, this, &TForm2::BitBtn1Click);
    onEvent(ui->BitBtn2, &QPushButton::clicked, this, &TForm2::BitBtn2Click);
}

TForm2::~TForm2() = default;

QString TForm2::userName() const { return ui->Edit1->text(); }
QString TForm2::databaseName() const { return ui->Edit2->text(); }
QString TForm2::password() const { return ui->Edit3->text(); }

void TForm2::BitBtn1Click() { done(mrYes); }

void TForm2::BitBtn2Click() { done(mrCancel); }

} // namespace coop
