#include "exitsignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace coop {

namespace {

constexpr int Handled[] = {SIGTERM, SIGINT, SIGHUP};
int pipeEnds[2] = {-1, -1};

extern "C" void writeSignal(int signal)
{
    const int saved = errno;
    const char number = char(signal);
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &number, 1);
    errno = saved;
}

} // namespace

ExitSignals::ExitSignals(QObject *parent) : QObject(parent)
{
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // no pipe, no handlers: the signals keep their default action, and the server its
                // parent-death signal
    m_notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ExitSignals::received);
    struct sigaction action = {};
    action.sa_handler = writeSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : Handled)
        ::sigaction(signal, &action, nullptr);
}

ExitSignals::~ExitSignals()
{
    if (!m_notifier)
        return;
    for (int signal : Handled)
        ::signal(signal, SIG_DFL);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void ExitSignals::received()
{
    char numbers[16];
    while (::read(pipeEnds[0], numbers, sizeof numbers) > 0) {
    }
    // Leaves the main loop and any nested one of a modal screen or message box; runProgram then
    // destroys the windows, and with them the connection and its server.
    QCoreApplication::exit(0);
}

} // namespace coop
