#pragma once

#include <QDateEdit>

namespace coop {

// A date field (dd.MM.yyyy) with a drop-down calendar. closeUp is emitted whenever the calendar
// closes, after a date was picked in it or when it was dismissed.
//
// Typed by keyboard: the focus arriving by Tab or Shift+Tab stands on the day, the digits fill day,
// month and year in turn (a dot typed after them, as on paper, is taken for that same move), and
// Tab leaves the field for the window's next control rather than walking its day, month and year.
class DateTimePicker : public QDateEdit
{
    Q_OBJECT

public:
    explicit DateTimePicker(QWidget *parent = nullptr);

signals:
    void closeUp();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    bool m_movedOn = false; // the last digit completed its part of the date and moved to the next
};

} // namespace coop
