#include "cli/application.h"

#include "cli/errorline.h"

#include <QGuiApplication>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace heliora::cli {

namespace {

    // The longest a platform may take to start in the trial child before it counts as one that cannot start.
    constexpr auto platformTrialTimeout = std::chrono::seconds(10);

    // Qt keeps references to argc and argv for the application's lifetime. The user's arguments are not handed
    // to Qt, so that none of them (-platform, -display) changes what Qt does.
    int applicationArgc = 1;
    char applicationName[] = "heliora-cli";
    char* applicationArgv[] = { applicationName, nullptr };

    std::unique_ptr<QCoreApplication>& ownedApplication()
    {
        static std::unique_ptr<QCoreApplication> application;
        return application;
    }

    void quietMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
    {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(message));
    }

    [[noreturn]] void leaveTrial(int) { _exit(1); }

    // Starts the platform in a child process, where Qt's abort when it cannot start costs nothing: the child's
    // output goes nowhere, it leaves no core file, and an abort becomes exit status 1.
    bool platformStarts()
    {
        std::fflush(stdout);
        std::fflush(stderr);
        const pid_t child = fork();
        if (child < 0)
            return true; // no trial possible: let Qt decide, as without this check
        if (child == 0) {
            const int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
            if (devNull >= 0) {
                dup2(devNull, STDOUT_FILENO);
                dup2(devNull, STDERR_FILENO);
            }
            const rlimit noCore { 0, 0 };
            setrlimit(RLIMIT_CORE, &noCore);
            std::signal(SIGABRT, leaveTrial);
            QGuiApplication trial(applicationArgc, applicationArgv);
            _exit(0);
        }
        const auto deadline = std::chrono::steady_clock::now() + platformTrialTimeout;
        int status = 0;
        for (;;) {
            const pid_t done = waitpid(child, &status, WNOHANG);
            if (done == child)
                return WIFEXITED(status) && WEXITSTATUS(status) == 0;
            if (done < 0 && errno != EINTR)
                return false;
            if (std::chrono::steady_clock::now() > deadline) {
                kill(child, SIGKILL);
                waitpid(child, &status, 0);
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

} // namespace

void requireCoreApplication()
{
    if (QCoreApplication::instance())
        return;
    ownedApplication() = std::make_unique<QCoreApplication>(applicationArgc, applicationArgv);
}

void requireGuiApplication(QStringView command)
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    if (QCoreApplication::instance())
        throw CommandFailure(command, QStringLiteral("needs a graphical application, and a plain one is running"));
    // It only paints into an image: the offscreen platform serves with or without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    const bool alwaysStarts = platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
    if (!alwaysStarts && !platformStarts()) {
        throw CommandFailure(command,
            QStringLiteral("QT_QPA_PLATFORM needs a platform that starts here, such as offscreen, or to be unset")
                + got(platform));
    }
    ownedApplication() = std::make_unique<QGuiApplication>(applicationArgc, applicationArgv);
}

void releaseApplication() { ownedApplication().reset(); }

void quietQtMessages() { qInstallMessageHandler(quietMessage); }

} // namespace heliora::cli
