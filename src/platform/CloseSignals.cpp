#include "platform/CloseSignals.h"
#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int g_pipe[2] = {-1, -1};

void onSignal(int number)
{
    const unsigned char byte = static_cast<unsigned char>(number);
    // Only async-signal-safe work here: hand the number to the window thread.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[0], &byte, 1);
}
}

CloseSignals::CloseSignals(QObject* parent) : QObject(parent)
{
    if (g_pipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_pipe) != 0)
        return;
    m_notifier = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CloseSignals::readSignal);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(number, &action, nullptr);
}

CloseSignals::~CloseSignals()
{
    for (const int number : {SIGTERM, SIGINT, SIGHUP})
        ::signal(number, SIG_DFL);
}

void CloseSignals::readSignal()
{
    unsigned char byte = 0;
    if (::read(g_pipe[1], &byte, 1) == 1)
        emit closeRequested(byte);
}
#else
CloseSignals::CloseSignals(QObject* parent) : QObject(parent) {}
CloseSignals::~CloseSignals() = default;
void CloseSignals::readSignal() {}
#endif
