#include "datetimepicker.h"

#include "data/format.h"

#include <QCalendarWidget>
#include <QEvent>

namespace coop {

DateTimePicker::DateTimePicker(QWidget *parent) : QDateEdit(QDate::currentDate(), parent)
{
    setDisplayFormat(QString::fromLatin1(ShortDateFormat));
    setCalendarPopup(true);
    // The calendar lives in a popup window of its own; its hiding is the close-up.
    m_popup = calendarWidget()->window();
    m_popup->installEventFilter(this);
}

bool DateTimePicker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_popup && event->type() == QEvent::Hide)
        emit closeUp();
    return QDateEdit::eventFilter(watched, event);
}

} // namespace coop
