#include "app/quitsignals.h"

#include <QObject>
#include <QPointer>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

namespace heliora {

namespace {
    // Written by the signal handler, read by the event loop. A handler may only call async-signal-safe
    // functions, so it writes one byte, the signal's number, and nothing else; a full socket drops the byte,
    // which is harmless since one is already waiting.
    int signalSocket[2] = { -1, -1 };
    volatile std::sig_atomic_t firstSignal = 0;

    void onSignal(int signal)
    {
        const int savedErrno = errno;
        if (firstSignal == 0)
            firstSignal = signal;
        const char byte = static_cast<char>(signal);
        [[maybe_unused]] const ssize_t written = ::write(signalSocket[0], &byte, 1);
        errno = savedErrno;
    }

    constexpr int handled[] = { SIGTERM, SIGHUP, SIGINT };

    void install()
    {
        sigset_t unblock;
        sigemptyset(&unblock);
        for (const int signal : handled) {
            struct sigaction old { };
            ::sigaction(signal, nullptr, &old);
            if (old.sa_handler == SIG_IGN && signal != SIGTERM)
                continue;
            struct sigaction action { };
            action.sa_handler = onSignal;
            sigemptyset(&action.sa_mask);
            action.sa_flags = SA_RESTART;
            ::sigaction(signal, &action, nullptr);
            sigaddset(&unblock, signal);
        }
        // A mask inherited from the parent must not hold back a signal that Heliora now handles: blocked, a
        // SIGTERM would never end the run. One that is pending already is delivered here.
        ::pthread_sigmask(SIG_UNBLOCK, &unblock, nullptr);
    }

    // Once nobody reads the socket, a signal must end the process again as it would without Heliora.
    void uninstall()
    {
        firstSignal = 0;
        for (const int signal : handled) {
            struct sigaction current { };
            if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == onSignal)
                ::signal(signal, SIG_DFL);
        }
    }
} // namespace

int receivedTerminationSignal() { return firstSignal; }

bool handleTerminationSignals(QObject* context, std::function<void(int signal)> onSignal)
{
    // The socket stays for the life of the process; each call makes a new notifier, which goes with its
    // context and takes the handlers with it.
    static QPointer<QSocketNotifier> notifier;
    if (signalSocket[0] < 0) {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSocket) != 0)
            return false;
        ::fcntl(signalSocket[0], F_SETFL, O_NONBLOCK);
        ::fcntl(signalSocket[1], F_SETFL, O_NONBLOCK);
    }

    delete notifier;
    notifier = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QObject::destroyed, [] { uninstall(); });
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [onSignal = std::move(onSignal)] {
        char buffer[64];
        const ssize_t read = ::read(signalSocket[1], buffer, sizeof buffer);
        if (read > 0)
            onSignal(static_cast<unsigned char>(buffer[0]));
    });

    // Signals that came while nobody listened belong to no one now.
    char stale[64];
    while (::read(signalSocket[1], stale, sizeof stale) > 0) { }
    firstSignal = 0;
    install();
    return true;
}

} // namespace heliora
