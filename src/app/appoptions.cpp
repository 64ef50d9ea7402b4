#include "app/appoptions.h"

#include "app/errorline.h"
#include "clock/isodate.h"
#include "model/environment.h"
#include "terminal/terminaltext.h"
#include "version/version.h"

namespace heliora {

namespace {

    const QString screenshotOption = QStringLiteral("--screenshot");
    const QString detailOption = QStringLiteral("--detail");
    const QString dateOption = QStringLiteral("--date");
    const QString settingsOption = QStringLiteral("--settings");

    const QString acceptedDates = QStringLiteral("(2024-01-31, 2024-01-31T10:00:00Z or @seconds)");
    const QString acceptedBodies = QStringLiteral("(sun, mercury ... pluto)");
    const QString acceptedTabs = QStringLiteral("(general, viewing, solar-system, about)");

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

    QString fromView(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

} // namespace

QString appUsage()
{
    return QStringLiteral(
        "usage: heliora [--screenshot FILE.png] [--date D] [--detail BODY] [--settings [TAB]] [--] [LINK]\n"
        "       heliora --help | --version\n"
        "\n"
        "  LINK               heliora://?date=yyyyMMdd opens at that day (an invalid link is ignored)\n"
        "  --date D           start at D: an ISO-8601 date and time, or @seconds since 1970\n"
        "  --screenshot FILE  render the window's first frame into FILE and quit (needs no display)\n"
        "  --detail BODY      also open the fact window of BODY (sun, mercury ... pluto);\n"
        "                     with --screenshot, render that window\n"
        "  --settings [TAB]   also open the settings window on TAB (general, viewing,\n"
        "                     solar-system, about; general when left out);\n"
        "                     with --screenshot, render that window\n"
        "  --help             print this text\n"
        "  --version          print the version and build number\n"
        "\n"
        "With Heliora running on this display, heliora hands it the arguments (its window\n"
        "comes forward) and exits; --screenshot, --help and --version always run alone.\n");
}

QString versionLine()
{
    return QStringLiteral("heliora %1 (build %2)").arg(fromView(versionString), fromView(buildNumber));
}

QStringList argumentsOf(int argc, const char* const* argv)
{
    QStringList arguments;
    for (int i = 1; i < argc && argv[i]; ++i)
        arguments.append(QString::fromUtf8(argv[i]));
    return arguments;
}

std::optional<AppOptions> parseAppOptions(const QStringList& arguments, QString* error)
{
    AppOptions options;
    QString firstError;
    const auto fail = [&firstError](const QString& message) {
        if (firstError.isEmpty())
            firstError = message;
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
        } else if (argument == QLatin1String("--version")) {
            options.showVersion = true;
        } else if (isOption(argument, screenshotOption)) {
            QString path;
            if (!takeValue(arguments, i, screenshotOption, &path) || path.isEmpty())
                fail(QStringLiteral("--screenshot: needs a file name (FILE.png, or another format that Qt writes)"));
            else if (path.contains(QChar::ReplacementCharacter))
                // Bytes that are not UTF-8 were replaced when read: the file would get another name than asked.
                fail(QStringLiteral("--screenshot: the file name %1 is not UTF-8 text").arg(quotedForTerminal(path)));
            else
                options.screenshotPath = path;
        } else if (isOption(argument, dateOption)) {
            QString text;
            if (!takeValue(arguments, i, dateOption, &text)) {
                fail(QStringLiteral("--date: needs a date %1").arg(acceptedDates));
                continue;
            }
            options.date = parseIsoDate(text, *userTimeZone());
            if (!options.date)
                fail(QStringLiteral("--date: unparsable date %1 %2").arg(quotedForTerminal(text), acceptedDates));
        } else if (isOption(argument, detailOption)) {
            QString key;
            if (!takeValue(arguments, i, detailOption, &key)) {
                fail(QStringLiteral("--detail: needs a body %1").arg(acceptedBodies));
                continue;
            }
            options.detail = solarSystemObjectFromKey(key.toStdString());
            if (!options.detail)
                fail(QStringLiteral("--detail: unknown body %1 %2").arg(quotedForTerminal(key), acceptedBodies));
        } else if (isOption(argument, settingsOption)) {
            // The tab may be left out; a link or another option after --settings is not taken for one.
            QString name = QStringLiteral("general");
            if (argument.startsWith(settingsOption + QLatin1Char('=')))
                name = argument.mid(settingsOption.size() + 1);
            else if (i + 1 < arguments.size() && !arguments[i + 1].startsWith(QLatin1String("--"))
                && !arguments[i + 1].contains(QLatin1String("://")))
                name = arguments[++i];
            options.settings = settingsTabFromName(name);
            if (!options.settings)
                fail(QStringLiteral("--settings: unknown tab %1 %2").arg(quotedForTerminal(name), acceptedTabs));
        } else {
            fail(QStringLiteral("unknown option %1 (accepted: --screenshot, --date, --detail, --settings, --help, "
                                "--version)")
                     .arg(quotedForTerminal(argument)));
        }
    }
    if (options.screenshotPath && options.detail && options.settings)
        fail(QStringLiteral("--screenshot: renders one window; give --detail or --settings, not both"));
    if (!firstError.isEmpty() && !options.showHelp && !options.showVersion) {
        if (error)
            *error = firstError;
        return std::nullopt;
    }
    return options;
}

} // namespace heliora
