#include "app/appoptions.h"

#include "clock/isodate.h"
#include "model/environment.h"

#include <cstring>

namespace heliora {

namespace {
    const QString screenshotOption = QStringLiteral("--screenshot");
    const QString detailOption = QStringLiteral("--detail");
    const QString dateOption = QStringLiteral("--date");

    bool takeValue(const QStringList& arguments, qsizetype& i, const QString& option, QString* value)
    {
        const QString& argument = arguments[i];
        if (argument.startsWith(option + QLatin1Char('='))) {
            *value = argument.mid(option.size() + 1);
            return true;
        }
        // "--screenshot --detail mars" lacks a file name; it does not write a file called "--detail".
        if (i + 1 >= arguments.size() || arguments[i + 1].startsWith(QLatin1String("--")))
            return false;
        *value = arguments[++i];
        return true;
    }

    bool isOption(const QString& argument, const QString& option)
    {
        return argument == option || argument.startsWith(option + QLatin1Char('='));
    }
} // namespace

QString appUsage()
{
    return QStringLiteral(
        "usage: heliora [--screenshot FILE.png] [--date D] [--detail BODY] [LINK]\n"
        "\n"
        "  LINK               heliora://?date=yyyyMMdd opens at that day (an invalid link is ignored)\n"
        "  --date D           start at D: an ISO-8601 date and time, or @seconds since 1970\n"
        "  --screenshot FILE  render the window's first frame into FILE and quit (needs no display)\n"
        "  --detail BODY      also open the fact window of BODY (sun, mercury ... pluto);\n"
        "                     with --screenshot, render that window\n");
}

std::optional<AppOptions> parseAppOptions(const QStringList& arguments, QString* error)
{
    AppOptions options;
    const auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return std::nullopt;
    };
    bool onlyLinks = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (onlyLinks || !argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-")) {
            options.links.append(argument);
        } else if (argument == QLatin1String("--")) {
            onlyLinks = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.showHelp = true;
        } else if (isOption(argument, screenshotOption)) {
            QString path;
            if (!takeValue(arguments, i, screenshotOption, &path) || path.isEmpty())
                return fail(QStringLiteral("--screenshot needs a file name"));
            options.screenshotPath = path;
        } else if (isOption(argument, dateOption)) {
            QString text;
            if (!takeValue(arguments, i, dateOption, &text))
                return fail(QStringLiteral("--date needs a date (2024-01-31, 2024-01-31T10:00:00Z or @seconds)"));
            options.date = parseIsoDate(text, *userTimeZone());
            if (!options.date)
                return fail(QStringLiteral("unparsable date: %1").arg(text));
        } else if (isOption(argument, detailOption)) {
            QString key;
            if (!takeValue(arguments, i, detailOption, &key))
                return fail(QStringLiteral("--detail needs a body (sun, mercury ... pluto)"));
            options.detail = solarSystemObjectFromKey(key.toStdString());
            if (!options.detail)
                return fail(QStringLiteral("unknown body: %1 (sun, mercury ... pluto)").arg(key));
        } else {
            return fail(QStringLiteral("unknown option: %1 (try --help)").arg(argument));
        }
    }
    return options;
}

bool wantsScreenshot(int argc, const char* const* argv)
{
    for (int i = 1; i < argc && argv[i]; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            return false;
        if (std::strcmp(argv[i], "--screenshot") == 0 || std::strncmp(argv[i], "--screenshot=", 13) == 0)
            return true;
    }
    return false;
}

} // namespace heliora
