#include "app/quitsignals.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace heliora {

namespace {
    // Written by the signal handler, read by the event loop. A handler may only call async-signal-safe
    // functions, so it writes one byte and nothing else.
    int signalPipe[2] = { -1, -1 };

    void onSignal(int)
    {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
    }
} // namespace

bool quitOnTerminationSignals()
{
    // The notifier belongs to the application object and goes with it; the pipe and the handlers stay for the
    // life of the process, so a later application object only needs a new notifier.
    static QPointer<QSocketNotifier> notifier;
    if (notifier)
        return true;
    if (signalPipe[0] < 0) {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
            return false;
        ::fcntl(signalPipe[0], F_SETFL, O_NONBLOCK);
    }

    notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char buffer[16];
        [[maybe_unused]] const ssize_t read = ::read(signalPipe[1], buffer, sizeof buffer);
        QCoreApplication::quit();
    });

    struct sigaction action { };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    return true;
}

} // namespace heliora
