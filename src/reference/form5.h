#pragma once

#include "screens/valuedialog.h"

#include <memory>

namespace Ui {
class TForm5;
}

namespace coop {

// "Пошук": the value a column must equal.
class TForm5 : public ValueDialog
{
    Q_OBJECT

public:
    explicit TForm5(QWidget *parent = nullptr);
    ~TForm5() override;

private:
    std::unique_ptr<Ui::TForm5> ui;
};

} // namespace coop
