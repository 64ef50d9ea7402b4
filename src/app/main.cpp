// heliora: the desktop application. Reads the command line before anything else (so that --help, --version and
// a bad option need no display). A run that shows windows then looks for a Heliora already running for this
// user and display: if there is one, it hands over its arguments and ends, before it has paid for a
// QApplication. Otherwise it builds the QApplication and the application object, which opens the main window
// (or renders a window into a file with --screenshot) and runs until the last window is closed.

#include "app/appoptions.h"
#include "app/errorline.h"
#include "app/helioraapplication.h"
#include "app/screenshot.h"
#include "app/singleinstance.h"
#include "terminal/terminaltext.h"

#include <QApplication>

#include <cstdio>

namespace {

// A screenshot run reports its own result in one line; Qt's notes about the platform (a missing
// XDG_RUNTIME_DIR) are not for a run that only writes a file. Critical and fatal messages still show.
void criticalMessagesOnly(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toUtf8().constData());
}

} // namespace

int main(int argc, char** argv)
{
    QString error;
    const QStringList arguments = heliora::argumentsOf(argc, argv);
    const std::optional<heliora::AppOptions> options = heliora::parseAppOptions(arguments, &error);
    if (!options) {
        heliora::printError(error);
        return 2;
    }
    if (options->showHelp) {
        std::fputs(heliora::appUsage().toUtf8().constData(), stdout);
        return 0;
    }
    if (options->showVersion) {
        std::printf("%s\n", heliora::versionLine().toUtf8().constData());
        return 0;
    }

    if (options->screenshotPath) {
        if (const QString problem = heliora::screenshotTargetProblem(*options->screenshotPath); !problem.isEmpty()) {
            heliora::printError(problem);
            return 2;
        }
        // A screenshot needs no display: without a platform chosen by the user, it is rendered offscreen.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(criticalMessagesOnly);
    } else if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        // Qt would abort with several lines about platform plugins.
        heliora::printError(QStringLiteral("no display (DISPLAY and WAYLAND_DISPLAY are not set); --screenshot FILE "
                                           "renders the window without one"));
        return 1;
    }

    // A screenshot is a job of its own: it never talks to a running Heliora, nor takes its place.
    heliora::InstanceStart instance;
    if (!options->screenshotPath) {
        instance = heliora::startSingleInstance(arguments);
        if (instance.exitStatus)
            return *instance.exitStatus;
    }

    // Qt sees the program's name alone: the command line has been read, and a link must never pass for one of
    // Qt's own options. Qt's settings come from its environment variables (QT_QPA_PLATFORM, QT_SCALE_FACTOR).
    int qtArgc = 1;
    char* qtArgv[] = { argv[0], nullptr };
    QApplication app(qtArgc, qtArgv);
    heliora::prepareApplication(app);
    heliora::HelioraApplication heliora(*options);
    if (instance.listeningSocket)
        heliora.listenForLaunches(std::move(instance.listeningSocket));
    return heliora.exec();
}
