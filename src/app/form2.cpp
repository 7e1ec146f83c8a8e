#include "form2.h"

#include "widgets/handler.h"

namespace coop {

TForm2::TForm2()
{
    setupUi(this);
    setCancelButton(BitBtn2);
    onEvent(BitBtn1, &QPushButton::clicked, this, &TForm2::BitBtn1Click);
    onEvent(BitBtn2, &QPushButton::clicked, this, &TForm2::BitBtn2Click);
}

void TForm2::BitBtn1Click() { done(mrYes); }

void TForm2::BitBtn2Click() { done(mrCancel); }

} // namespace coop
