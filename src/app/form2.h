#pragma once

#include "ui_form2.h"
#include "widgets/screen.h"

namespace coop {

// The connection dialog: user, server database and password. It checks nothing; its buttons only
// close it with a modal result (Yes for "Прийняти", Cancel for "Відмінити" and the close box), and
// it keeps what was typed last, since it lives as long as the program.
class TForm2 : public Screen, private Ui::TForm2
{
    Q_OBJECT

public:
    TForm2();

    void BitBtn1Click();
    void BitBtn2Click();

    // What was typed: the user, the server database and the password.
    QString userName() const { return Edit1->text(); }
    QString databaseName() const { return Edit2->text(); }
    QString password() const { return Edit3->text(); }
};

} // namespace coop
