#include "form6.h"

#include "ui_form6.h"

namespace coop {

TForm6::TForm6(QWidget *parent) : ValueDialog(parent), ui(std::make_unique<Ui::TForm6>())
{
    setUpForm(*ui);
}

TForm6::~TForm6() = default;

} // namespace coop
