#include "form5.h"

#include "ui_form5.h"

namespace coop {

TForm5::TForm5(QWidget *parent) : ValueDialog(parent), ui(std::make_unique<Ui::TForm5>())
{
    setUpForm(*ui);
}

TForm5::~TForm5() = default;

} // namespace coop
