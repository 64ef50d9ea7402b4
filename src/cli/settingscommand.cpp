#include "cli/cliargs.h"
#include "cli/commands.h"

#include "settings/sharedsettings.h"

#include <cstdio>

namespace heliora::cli {

namespace {

    void printLine(const QString& text) { std::printf("%s\n", text.toUtf8().constData()); }

} // namespace

int settingsCommand(const QStringList& arguments)
{
    const QString action = arguments.value(0);
    const QString key = arguments.value(1);
    const QString showPluto = QString::fromLatin1(showPlutoKey.data(), static_cast<qsizetype>(showPlutoKey.size()));
    SharedSettings settings;
    if (action == QLatin1String("path") && arguments.size() == 1) {
        printLine(settings.filePath());
        return 0;
    }
    if (key != showPluto)
        throw UsageError("settings: expected get show_pluto, set show_pluto true|false, or path");
    if (action == QLatin1String("get") && arguments.size() == 2) {
        printLine(settings.showPluto() ? QStringLiteral("true") : QStringLiteral("false"));
        return 0;
    }
    if (action == QLatin1String("set") && arguments.size() == 3) {
        const QString value = arguments.at(2);
        if (value != QLatin1String("true") && value != QLatin1String("false"))
            throw UsageError("settings set show_pluto: expected true or false, got " + value.toStdString());
        if (!settings.setShowPluto(value == QLatin1String("true"))) {
            std::fprintf(stderr, "heliora-cli: could not write %s\n", settings.filePath().toUtf8().constData());
            return 1;
        }
        return 0;
    }
    throw UsageError("settings: expected get show_pluto, set show_pluto true|false, or path");
}

} // namespace heliora::cli
