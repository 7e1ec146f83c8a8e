#include "combobox.h"

#include "popupclose.h"

#include <QAbstractItemView>

namespace coop {

ComboBox::ComboBox(QWidget *parent) : QComboBox(parent)
{
    // The list lives in a popup window of its own; its hiding is the close-up. The list hides
    // before the chosen entry is selected, so the signal waits for the event loop's next turn.
    watchPopupClose(view()->window(), this,
                    [this] { QMetaObject::invokeMethod(this, &ComboBox::closeUp, Qt::QueuedConnection); });
}

} // namespace coop
