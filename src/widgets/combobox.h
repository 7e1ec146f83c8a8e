#pragma once

#include <QComboBox>

namespace coop {

// A combo box whose drop-down list tells when it closes: closeUp is emitted every time the list
// closes, after a choice (the new or the same entry) or when it was dismissed without one. It comes
// once the choice, if any, is the selected entry.
class ComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit ComboBox(QWidget *parent = nullptr);

signals:
    void closeUp();
};

} // namespace coop
