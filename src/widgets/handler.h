#pragma once

#include "application.h"
#include "data/query.h"

#include <QObject>

namespace coop {

// Connects a control's signal to a screen's handler so that the handler runs on the one error
// path: an error it lets out is shown in the application's error box and its remaining steps are
// skipped, wherever the signal came from (a click, a test, another handler). Nothing throws
// through the toolkit's signal dispatch.
template <typename Sender, typename Signal, typename Receiver>
QMetaObject::Connection onEvent(Sender *sender, Signal signal, Receiver *receiver, void (Receiver::*handler)())
{
    return QObject::connect(sender, signal, receiver, [receiver, handler] { runHandler([&] { (receiver->*handler)(); }); });
}

enum class QueryEvent { AfterScroll, CalcFields };

// Makes a screen's handler the query's AfterScroll or OnCalcFields handler. Run inside another
// handler (a button that reopens the query, a click into a grid), its error goes on to that
// handler, which skips its remaining steps as it would for an error of its own; run by itself, its
// error is shown in the error box.
template <typename Receiver>
void onEvent(Query *query, QueryEvent event, Receiver *receiver, void (Receiver::*handler)())
{
    auto run = [receiver, handler] {
        if (handlerRunning())
            (receiver->*handler)();
        else
            runHandler([&] { (receiver->*handler)(); });
    };
    if (event == QueryEvent::AfterScroll)
        query->setAfterScroll(run);
    else
        query->setOnCalcFields(run);
}

} // namespace coop
