#include "valuedialog.h"

#include <QLineEdit>
#include <QPushButton>

namespace coop {

void ValueDialog::bindButtons(QLineEdit *edit, QPushButton *accept, QPushButton *cancel)
{
    Edit1 = edit;
    BitBtn1 = accept;
    BitBtn2 = cancel;
    // The buttons have no handlers of their own: they close the dialog with their modal result.
    connect(BitBtn1, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { done(mrCancel); });
    setCancelButton(BitBtn2);
}

void ValueDialog::showEvent(QShowEvent *event)
{
    // FormShow: a value typed for an earlier search or filter is never offered again.
    Edit1->clear();
    Screen::showEvent(event);
    // Every showing starts at the first control of the tab order, whatever had the focus last.
    QWidget *first = nextInFocusChain();
    while (first != this && !((first->focusPolicy() & Qt::TabFocus) && first->isEnabled()))
        first = first->nextInFocusChain();
    if (first != this)
        first->setFocus();
}

} // namespace coop
