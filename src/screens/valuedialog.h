#pragma once

#include "widgets/screen.h"

class QLineEdit;
class QPushButton;

namespace coop {

// The search and the filter dialog: one value asked of the clerk. Neither knows which column or
// screen it serves; the reference screen shows it, reads the modal result (2 is cancel) and the
// text as typed. Each showing starts with an empty field.
class ValueDialog : public Screen
{
    Q_OBJECT

public:
    using Screen::Screen;

    QLineEdit *Edit1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;

protected:
    // Sets up the dialog's form, whose field is Edit1 and whose accept and cancel buttons are BitBtn1
    // and BitBtn2, and wires the buttons to their modal results.
    template <class Form>
    void setUpForm(Form &ui)
    {
        ui.setupUi(this);
        bindButtons(ui.Edit1, ui.BitBtn1, ui.BitBtn2);
    }

    void showEvent(QShowEvent *event) override;

private:
    void bindButtons(QLineEdit *edit, QPushButton *accept, QPushButton *cancel);
};

} // namespace coop
