#pragma once

#include "screens/valuedialog.h"

#include <memory>

namespace Ui {
class TForm6;
}

namespace coop {

// "Фільтрація": the fragment a column must contain.
class TForm6 : public ValueDialog
{
    Q_OBJECT

public:
    explicit TForm6(QWidget *parent = nullptr);
    ~TForm6() override;

private:
    std::unique_ptr<Ui::TForm6> ui;
};

} // namespace coop
