#include "form6.h"

#include "ui_form6.h"

namespace coop {

TForm6::TForm6(QWidget *parent) : ValueDialog(parent), ui(std::make_unique<Ui::TForm6>())
{
    ui->setupUi(this);
    bindButtons(ui->Edit1, ui->BitBtn1, ui->BitBtn2);
}

TForm6::~TForm6() = default;

} // namespace coop
