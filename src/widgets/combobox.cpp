#include "combobox.h"

#include <QAbstractItemView>
#include <QEvent>

namespace coop {

ComboBox::ComboBox(QWidget *parent) : QComboBox(parent)
{
    // The list lives in a popup window of its own; its hiding is the close-up. The list hides
    // before the chosen entry is selected, so the signal waits for the event loop's next turn.
    m_popup = view()->window();
    m_popup->installEventFilter(this);
}

bool ComboBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_popup && event->type() == QEvent::Hide)
        QMetaObject::invokeMethod(this, &ComboBox::closeUp, Qt::QueuedConnection);
    return QComboBox::eventFilter(watched, event);
}

} // namespace coop
