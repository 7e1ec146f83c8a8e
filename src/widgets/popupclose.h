#pragma once

#include <functional>

class QObject;
class QWidget;

namespace coop {

// Calls `closed` every time `popup` hides: the close-up of a drop-down list or calendar, after a
// choice or when it was dismissed. The watch ends with `owner`.
void watchPopupClose(QWidget *popup, QObject *owner, std::function<void()> closed);

} // namespace coop
