// heliora-widgets: the host of Heliora's desktop widgets. Loads the widget extension, shows the placed widgets
// as desktop windows and keeps them current, opens the gallery, or draws one widget into a file.

#include "version/version.h"
#include "widget-host/hostoptions.h"
#include "widget-host/placedwidgets.h"
#include "widget-host/pluginlocator.h"
#include "widget-host/singleinstance.h"
#include "widget-host/snapshotcommand.h"
#include "widget-host/widgethost.h"

#include <QApplication>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include <cmath>
#include <cstdio>

namespace {

using heliora::host::HostOptions;

// The reload interval forced by HELIORA_WIDGET_RELOAD_S, for tests and measurements only: whole seconds, 1 to
// one day; anything else is ignored.
std::optional<double> forcedReloadInterval()
{
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("HELIORA_WIDGET_RELOAD_S", &ok);
    if (!ok || seconds < 1 || seconds > 86400)
        return std::nullopt;
    return seconds;
}

// The command that starts this program from the autostart entry: its name when PATH finds this very file
// (the installed program), else its full path (a build tree, another prefix).
QString autostartProgram()
{
    const QString self = QCoreApplication::applicationFilePath();
    const QString found = QStandardPaths::findExecutable(QStringLiteral("heliora-widgets"));
    if (!found.isEmpty() && QFileInfo(found).canonicalFilePath() == QFileInfo(self).canonicalFilePath())
        return QStringLiteral("heliora-widgets");
    return self;
}

// Heliora beside this program when it is there (the same prefix or build tree), else from PATH.
QString appProgram()
{
    const QString sibling = QCoreApplication::applicationDirPath() + QStringLiteral("/heliora");
    return QFileInfo(sibling).isExecutable() ? sibling : QStringLiteral("heliora");
}

} // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QString error;
    const std::optional<HostOptions> options = heliora::host::parseHostOptions(arguments, &error);
    if (!options) {
        std::fprintf(stderr, "heliora-widgets: %s\n", qPrintable(error));
        return 2;
    }
    switch (options->mode) {
    case HostOptions::Mode::help:
        std::fputs(qPrintable(heliora::host::hostUsage()), stdout);
        return 0;
    case HostOptions::Mode::version:
        std::printf("heliora-widgets %.*s (build %.*s)\n", static_cast<int>(heliora::versionString.size()),
            heliora::versionString.data(), static_cast<int>(heliora::buildNumber.size()), heliora::buildNumber.data());
        return 0;
    case HostOptions::Mode::autostart: {
        // At log-in with nothing placed there is nothing to show: no display connection, no plug-in.
        const auto placed = heliora::host::PlacedWidgetsFile().read();
        if (!placed || placed->isEmpty())
            return 0;
        break;
    }
    default:
        break;
    }

    const bool drawing = options->mode == HostOptions::Mode::snapshot || options->mode == HostOptions::Mode::timeline;
    const bool platformChosen = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    // Pictures and timelines need no display: without a platform chosen by the user they are drawn offscreen.
    if (drawing && !platformChosen)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!drawing && !platformChosen) {
        if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
            std::fprintf(
                stderr, "heliora-widgets: no display to show widgets on (DISPLAY and WAYLAND_DISPLAY are unset)\n");
            return 1;
        }
        // Wayland gives clients no way to keep a window below the others, on every desktop or out of the task
        // bar; through XWayland the window manager honours the X11 hints that desktop widgets need.
        if (!qEnvironmentVariableIsEmpty("DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "xcb");
    }
    // The environment as the user gave it, before the host pins its time zone in TZ: Heliora started from a
    // widget follows the machine's zone by itself.
    const QProcessEnvironment userEnvironment = QProcessEnvironment::systemEnvironment();

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("heliora-widgets"));
    QApplication::setDesktopFileName(QStringLiteral("heliora-widgets"));

    const heliora::host::LoadedExtension extension = heliora::host::loadInstalledExtension();
    if (!extension.bundle) {
        std::fprintf(stderr, "heliora-widgets: %s\n", qPrintable(extension.error));
        return 1;
    }
    if (drawing)
        return heliora::host::runWidgetCommand(*extension.bundle, *options);

    // One host per user: a second start hands its request to the running host (which opens its gallery when
    // asked to) and ends.
    heliora::host::SingleInstance instance;
    const bool galleryWanted = options->mode != HostOptions::Mode::autostart;
    if (instance.forward(galleryWanted ? QStringLiteral("gallery") : QStringLiteral("restore")))
        return 0;
    instance.listen();

    heliora::host::HostSetup setup;
    setup.program = autostartProgram();
    setup.appProgram = appProgram();
    setup.appEnvironment = userEnvironment;
    setup.localtimeLink = qEnvironmentVariable("HELIORA_WIDGET_LOCALTIME");
    setup.reloadInterval = forcedReloadInterval();
    setup.verbose = options->verbose;
    heliora::host::WidgetHost host(*extension.bundle, setup);
    // The host decides when it is done: when no widget is left and the gallery is closed.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&host, &heliora::host::WidgetHost::idle, &app, &QCoreApplication::quit);
    QObject::connect(&instance, &heliora::host::SingleInstance::requested, &host, [&host](const QString& request) {
        if (request == QLatin1String("gallery"))
            host.showGallery();
    });

    const int shown = host.restore();
    if (options->mode == HostOptions::Mode::gallery || (shown == 0 && options->mode == HostOptions::Mode::restore))
        host.showGallery();
    else if (shown == 0)
        return 0;
    return app.exec();
}
