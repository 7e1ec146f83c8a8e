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
    // Wires the accept and cancel buttons to their modal results; called once the .ui is set up.
    void bindButtons(QLineEdit *edit, QPushButton *accept, QPushButton *cancel);
    void showEvent(QShowEvent *event) override;
};

} // namespace coop
