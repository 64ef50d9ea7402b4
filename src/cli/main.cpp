// heliora-cli: Heliora's scripting front end. Every command prints JSON (or a plain line) on stdout;
// a bad argument prints one line on stderr and exits with status 2.

#include "cli/cliargs.h"
#include "cli/commands.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string_view>

namespace {

constexpr const char* usage = R"(usage: heliora-cli COMMAND [options]

commands:
  positions [--date D] [--time-zone Z] [--preset-period X] [--radius R]
  facts BODY [--locale L]
  render [--date D] [--time-zone Z] [--diameter 400] [--pluto | --no-pluto] [--inner-only]
         [--scale 1|2] [--background black|none] -o FILE.png|FILE.svg
  link build [--date D] [--time-zone Z]
  link parse URL [--time-zone Z]          exit 1 when the link is ignored
  dates [--date D] [--now D] [--time-zone Z] [--locale L]
  settings get show_pluto | settings set show_pluto true|false | settings path

D is an ISO-8601 date and time (2024-01-31T10:00:00Z; without an offset it is read in the time zone)
or @seconds since 1970.
)";

// Keeps stderr for the command's own one-line errors: a headless platform's start-up notes (such as a
// missing XDG_RUNTIME_DIR) are dropped; Qt's critical and fatal messages still show.
void quietPlatformMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char** argv)
{
    // Rendering rasterises pictures and so needs a GUI application, but it only paints into an image: the
    // offscreen platform serves with or without a display (unless QT_QPA_PLATFORM names another one).
    // Every other command runs on a plain core application.
    const bool needsGui = argc > 1 && std::string_view(argv[1]) == "render";
    if (needsGui && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (needsGui)
        qInstallMessageHandler(quietPlatformMessages);
    const std::unique_ptr<QCoreApplication> app
        = needsGui ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty() || arguments.first() == QLatin1String("--help")
        || arguments.first() == QLatin1String("-h")) {
        std::fputs(usage, arguments.isEmpty() ? stderr : stdout);
        return arguments.isEmpty() ? 2 : 0;
    }

    const std::map<QString, std::function<int(const QStringList&)>> commands {
        { QStringLiteral("positions"), heliora::cli::positionsCommand },
        { QStringLiteral("facts"), heliora::cli::factsCommand },
        { QStringLiteral("render"), heliora::cli::renderCommand },
        { QStringLiteral("link"), heliora::cli::linkCommand },
        { QStringLiteral("dates"), heliora::cli::datesCommand },
        { QStringLiteral("settings"), heliora::cli::settingsCommand },
    };
    const QString name = arguments.takeFirst();
    const auto command = commands.find(name);
    try {
        if (command == commands.end())
            throw heliora::cli::UsageError("unknown command: " + name.toStdString() + " (try --help)");
        return command->second(arguments);
    } catch (const heliora::cli::UsageError& error) {
        std::fprintf(stderr, "heliora-cli: %s\n", error.what());
        return 2;
    }
}
