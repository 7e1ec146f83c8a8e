#pragma once

#include "application.h"

#include <QObject>

namespace coop {

// Connects a control's signal to a screen's handler so that the handler runs as the event loop
// runs it: an error it lets out is shown in the application's error box and its remaining steps are
// skipped, wherever the signal came from (a click, a test, another handler).
template <typename Sender, typename Signal, typename Receiver>
QMetaObject::Connection onEvent(Sender *sender, Signal signal, Receiver *receiver, void (Receiver::*handler)())
{
    return QObject::connect(sender, signal, receiver, [receiver, handler] { runHandler([&] { (receiver->*handler)(); }); });
}

} // namespace coop
