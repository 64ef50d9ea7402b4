#pragma once

// Heliora's programs run as second processes, as a script would. A test target that runs heliora-cli defines
// HELIORA_CLI_PATH, the path of the program it builds.

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>

#include <functional>
#include <utility>

namespace heliora::test {

struct CliResult {
    int exitCode = -1; ///< -1 when the program crashed or did not end within a minute
    QByteArray out;
    QByteArray err;
    QString text() const { return QString::fromUtf8(out); }
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

/// Runs `program` in `environment` (by default this process's own) and waits for it; `inChild` runs in the new
/// process just before the program starts (async-signal-safe calls only), `folder` is its working folder.
inline CliResult runProgram(const QString& program, const QStringList& arguments,
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
    std::function<void()> inChild = {}, const QString& folder = {})
{
    QProcess process;
    process.setProcessEnvironment(environment);
    if (inChild)
        process.setChildProcessModifier(std::move(inChild));
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    const bool ended = process.waitForFinished(60'000);
    if (!ended)
        process.kill();
    process.waitForFinished();
    const int status = ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return { status, process.readAllStandardOutput(), process.readAllStandardError() };
}

/// This process's environment without a display, as on a build server, with `extra` variables set.
inline QProcessEnvironment environmentWithoutDisplay(std::initializer_list<std::pair<QString, QString>> extra = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
        env.remove(QString::fromLatin1(name));
    for (const auto& [name, value] : extra)
        env.insert(name, value);
    return env;
}

#ifdef HELIORA_CLI_PATH
/// Runs heliora-cli in `environment` (by default this process's own) and waits for it.
inline CliResult runCli(
    const QStringList& arguments, const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    return runProgram(QStringLiteral(HELIORA_CLI_PATH), arguments, environment);
}
#endif

} // namespace heliora::test
