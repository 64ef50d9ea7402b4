#pragma once

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <grp.h>
#include <unistd.h>

namespace heliora::test {

/// A QCoreApplication for tests that start processes; created once, on first use.
inline void ensureApplication()
{
    static int argc = 1;
    static char name[] = "clock_tests";
    static char* argv[] = { name, nullptr };
    if (!QCoreApplication::instance())
        static QCoreApplication application(argc, argv);
}

/// Run as root, becomes the unprivileged user "nobody", so that file permissions apply; otherwise does nothing.
/// Safe between fork and exec.
inline bool dropRootPrivileges()
{
    if (geteuid() != 0)
        return true;
    constexpr uid_t nobody = 65534;
    return setgroups(0, nullptr) == 0 && setgid(nobody) == 0 && setuid(nobody) == 0;
}

struct ProcessResult {
    int exitCode = -1;
    QString out;
    QString err;
};

/// Runs heliora-cli with the arguments, XDG_CONFIG_HOME pointing at `configHome` (when given), and waits.
/// With `unprivileged`, the process runs as "nobody" when the tests run as root.
inline ProcessResult runCli(const QStringList& arguments, const QString& configHome = {}, bool unprivileged = false)
{
    ensureApplication();
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!configHome.isEmpty())
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    process.setProcessEnvironment(environment);
    if (unprivileged) {
        process.setChildProcessModifier([] {
            if (!dropRootPrivileges())
                _exit(126);
        });
    }
    process.start(QStringLiteral(HELIORA_CLI_PATH), arguments);
    ProcessResult result;
    if (!process.waitForFinished(60'000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

} // namespace heliora::test
