#pragma once

#include "widgets/screen.h"

#include <memory>

namespace Ui {
class TForm2;
}

namespace coop {

// The connection dialog: user, server database and password. It checks nothing; its buttons only
// close it with a modal result (Yes for "Прийняти", Cancel for "Відмінити" and the close box), and
// it keeps what was typed last, since it lives as long as the program.
class TForm2 : public Screen
{
    Q_OBJECT

public:
    TForm2();
    ~TForm2() override;

    void BitBtn1Click();
    void BitBtn2Click();

    // What was typed: the user, the server database and the password.
    QString userName() const;
    QString databaseName() const;
    QString password() const;

private:
    std::unique_ptr<Ui::TForm2> ui;
};

} // namespace coop
