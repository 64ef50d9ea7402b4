// heliora: the desktop application. Sets up the look and the string table, opens the main window (or renders a
// window into a file with --screenshot) and runs the event loop until the last window is closed.

#include "app/appearance.h"
#include "app/appoptions.h"
#include "app/detailwindowcontroller.h"
#include "app/mainwindow.h"
#include "app/quitsignals.h"
#include "app/screenshot.h"
#include "app/solarsystemobjectdetailview.h"
#include "artwork/artwork.h"
#include "clock/appstate.h"
#include "model/environment.h"
#include "strings/stringtable.h"

#include <QApplication>

#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    // A screenshot needs no display: without a platform chosen by the user, it is rendered offscreen.
    if (heliora::wantsScreenshot(argc, argv) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("heliora"));
    // No application display name: Qt would append it to every window title, and a fact window's title is the
    // body's name alone.
    QApplication::setDesktopFileName(QStringLiteral("heliora"));
    heliora::applyDarkAppearance(app);
    heliora::setStringsLanguage(QString::fromStdString(heliora::messagesLocale().getName()));
    heliora::quitOnTerminationSignals();

    QString error;
    const std::optional<heliora::AppOptions> options
        = heliora::parseAppOptions(QCoreApplication::arguments().mid(1), &error);
    if (!options) {
        std::fprintf(stderr, "heliora: %s\n", qPrintable(error));
        return 2;
    }
    if (options->showHelp) {
        std::fputs(qPrintable(heliora::appUsage()), stdout);
        return 0;
    }

    // The one AppState, and with it the one clock, lives until the event loop ends; every window shares it.
    heliora::AppState state;
    if (options->date)
        state.rotation().setDate(*options->date);
    const auto mainWindow = std::make_unique<heliora::MainWindow>(state.rotation());
    // Links given on the command line: a date link sets the clock's date; anything else is ignored silently.
    for (const QString& link : options->links)
        mainWindow->openLink(link);

    if (options->detail && options->screenshotPath) {
        // A screenshot of a fact window shows that window alone. The window must not be shown before the
        // screenshot watches it: it may paint its first frame while it is being shown.
        auto* window = new heliora::DetailWindowController(new heliora::SolarSystemObjectDetailView(*options->detail));
        window->setWindowTitle(heliora::localizedName(*options->detail));
        heliora::screenshotAfterFirstFrame(window, *options->screenshotPath);
        window->show();
    } else {
        if (options->screenshotPath) {
            heliora::screenshotAfterFirstFrame(mainWindow.get(), *options->screenshotPath);
        } else {
            // The application icon follows the first frame: decoding its pictures takes longer than the rest of
            // the start-up (bench/app), and a window manager shows a late icon as well as an early one.
            heliora::afterFirstFrame(
                mainWindow.get(), [] { QApplication::setWindowIcon(heliora::artwork::applicationIcon()); });
        }
        mainWindow->show();
        if (options->detail)
            heliora::openDetailWindow(*options->detail);
    }

    const int status = app.exec();
    heliora::deleteOpenDetailWindows();
    return status;
}
