#pragma once

// heliora-cli run as a second process, as a script would. The test target that includes this defines
// HELIORA_CLI_PATH, the path of the program it builds.

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>

namespace heliora::test {

struct CliResult {
    int exitCode = -1; ///< -1 when the program crashed or did not end within a minute
    QByteArray out;
    QByteArray err;
    QString text() const { return QString::fromUtf8(out); }
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

/// Runs heliora-cli in `environment` (by default this process's own) and waits for it.
inline CliResult runCli(
    const QStringList& arguments, const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(HELIORA_CLI_PATH), arguments);
    if (!process.waitForFinished(60'000) || process.exitStatus() != QProcess::NormalExit)
        return { -1, process.readAllStandardOutput(), process.readAllStandardError() };
    return { process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError() };
}

/// This process's environment without a display, as on a build server.
inline QProcessEnvironment environmentWithoutDisplay()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
        env.remove(QString::fromLatin1(name));
    return env;
}

} // namespace heliora::test
