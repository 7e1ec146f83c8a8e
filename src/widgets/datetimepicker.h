#pragma once

#include <QDateEdit>

namespace coop {

// A date field (dd.MM.yyyy) with a drop-down calendar. closeUp is emitted whenever the calendar
// closes, after a date was picked in it or when it was dismissed.
class DateTimePicker : public QDateEdit
{
    Q_OBJECT

public:
    explicit DateTimePicker(QWidget *parent = nullptr);

signals:
    void closeUp();
};

} // namespace coop
