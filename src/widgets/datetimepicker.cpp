#include "datetimepicker.h"

#include "data/format.h"
#include "popupclose.h"

#include <QCalendarWidget>
#include <QFocusEvent>
#include <QKeyEvent>

namespace coop {

DateTimePicker::DateTimePicker(QWidget *parent) : QDateEdit(QDate::currentDate(), parent)
{
    setDisplayFormat(QString::fromLatin1(ShortDateFormat));
    setCalendarPopup(true);
    // The calendar lives in a popup window of its own; its hiding is the close-up.
    watchPopupClose(calendarWidget()->window(), this, [this] { emit closeUp(); });
}

void DateTimePicker::focusInEvent(QFocusEvent *event)
{
    QDateEdit::focusInEvent(event);
    m_movedOn = false;
    if (event->reason() == Qt::BacktabFocusReason)
        setSelectedSection(sectionAt(0));
}

void DateTimePicker::keyPressEvent(QKeyEvent *event)
{
    // The field moves on by itself once the day or the month has its two digits; the dot typed
    // after them is not a second move, which would skip the month or the year.
    if (m_movedOn && event->text() == u".") {
        m_movedOn = false;
        event->accept();
        return;
    }
    const int section = currentSectionIndex();
    QDateEdit::keyPressEvent(event);
    const QString text = event->text();
    m_movedOn = text.size() == 1 && text.front().isDigit() && currentSectionIndex() != section;
}

bool DateTimePicker::focusNextPrevChild(bool next) { return QWidget::focusNextPrevChild(next); }

} // namespace coop
