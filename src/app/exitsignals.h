#pragma once

#include <QObject>

class QSocketNotifier;

namespace coop {

// SIGTERM (a logout, `kill`), SIGINT (Ctrl+C in a terminal) and SIGHUP (the terminal gone) end the
// program the way "Вихід" does: every event loop, a modal screen's included, is left, the windows
// are destroyed and the internal server is shut down cleanly. The signal handler only writes the
// signal's number into a pipe; the event loop reads it and does the rest.
class ExitSignals : public QObject
{
    Q_OBJECT

public:
    explicit ExitSignals(QObject *parent = nullptr);
    ~ExitSignals() override;

private:
    void received();

    QSocketNotifier *m_notifier = nullptr;
};

} // namespace coop
