#include "datetimepicker.h"

#include "data/format.h"
#include "popupclose.h"

#include <QCalendarWidget>

namespace coop {

DateTimePicker::DateTimePicker(QWidget *parent) : QDateEdit(QDate::currentDate(), parent)
{
    setDisplayFormat(QString::fromLatin1(ShortDateFormat));
    setCalendarPopup(true);
    // The calendar lives in a popup window of its own; its hiding is the close-up.
    watchPopupClose(calendarWidget()->window(), this, [this] { emit closeUp(); });
}

} // namespace coop
