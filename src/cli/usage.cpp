#include "cli/usage.h"

#include "model/orbit.h"
#include "model/planet.h"

#include <QTextStream>

#include <algorithm>

namespace heliora::cli {

namespace {

    QString number(double value) { return QString::number(value, 'g', 17); }

    const QString dateNeeds = QStringLiteral(
        "a date: 2024-01-31, 2024-01-31T10:00, 2024-01-31T10:00:00Z, 2024-01-31T10:00:00+09:00 or @seconds");

    OptionUsage dateOption()
    {
        return { QStringLiteral("date"), {}, QStringLiteral("D"), dateNeeds, QStringLiteral("the date (default now)") };
    }

    OptionUsage timeZoneOption()
    {
        return { QStringLiteral("time-zone"), {}, QStringLiteral("Z"),
            QStringLiteral("an IANA time zone such as Europe/Berlin or UTC"),
            QStringLiteral("the time zone of the dates (default the user's)") };
    }

    OptionUsage localeOption(const QString& help)
    {
        return { QStringLiteral("locale"), {}, QStringLiteral("L"),
            QStringLiteral("a locale that ICU lists, such as en_US or de_DE"), help };
    }

    // "sun, mercury, ... neptune or pluto", from the model's own list.
    QString bodyList()
    {
        QStringList keys;
        for (const SolarSystemObject& body : allSolarSystemObjects()) {
            const std::string_view key = body.localizationKey();
            keys.append(QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())));
        }
        const QString last = keys.takeLast();
        return keys.join(QLatin1String(", ")) + QLatin1String(" or ") + last;
    }

    std::vector<CommandUsage> buildTable()
    {
        const QString anyNumber = QStringLiteral("a finite number");
        return {
            {
                QStringLiteral("positions"),
                { QStringLiteral("[--date D] [--time-zone Z] [--preset-period X] [--radius R]") },
                QStringLiteral(
                    "Prints as JSON where the planets stand at D: each one's unwrapped orbital angle and its "
                    "direction on screen."),
                {},
                {
                    dateOption(),
                    timeZoneOption(),
                    { QStringLiteral("preset-period"), {}, QStringLiteral("X"), anyNumber,
                        QStringLiteral("the offset in orbital periods (default %1)").arg(number(presetPeriod)) },
                    { QStringLiteral("radius"), {}, QStringLiteral("R"), anyNumber,
                        QStringLiteral("the ring radius in points (default %1)").arg(number(limits::defaultRadius)) },
                },
            },
            {
                QStringLiteral("facts"),
                { QStringLiteral("BODY [--locale L]") },
                QStringLiteral("Prints as JSON the facts of BODY as its fact window shows them."),
                { { QStringLiteral("BODY"), QStringLiteral("one of ") + bodyList() } },
                { localeOption(QStringLiteral("the locale of numbers and texts (default the environment's)")) },
            },
            {
                QStringLiteral("render"),
                { QStringLiteral("[--date D] [--time-zone Z] [--diameter N] [--pluto | --no-pluto] [--inner-only]"),
                    QStringLiteral("[--scale S] [--background black|none] -o FILE.png|FILE.svg") },
                QStringLiteral("Paints the orrery into a PNG or SVG file, a new one or a regular file that is replaced "
                               "whole,\nand prints as JSON the picture's size and where the bodies went."),
                {},
                {
                    dateOption(),
                    timeZoneOption(),
                    { QStringLiteral("diameter"), {}, QStringLiteral("N"),
                        QStringLiteral("a number above 0 and at most %1").arg(number(limits::largestDiameter)),
                        QStringLiteral("the diameter of the outermost ring in points, at most %1 (default %2)")
                            .arg(number(limits::largestDiameter), number(limits::defaultDiameter)) },
                    { QStringLiteral("pluto"), {}, {}, {},
                        QStringLiteral("show Pluto and its ring (default: the shared show_pluto setting)") },
                    { QStringLiteral("no-pluto"), {}, {}, {}, QStringLiteral("leave Pluto out") },
                    { QStringLiteral("inner-only"), {}, {}, {},
                        QStringLiteral("show Mercury to Mars only; wins over --pluto") },
                    { QStringLiteral("scale"), {}, QStringLiteral("S"),
                        QStringLiteral("a number from %1 to %2")
                            .arg(number(limits::smallestScale), number(limits::largestScale)),
                        QStringLiteral("device pixels per point, from %1 to %2 (default 1)")
                            .arg(number(limits::smallestScale), number(limits::largestScale)) },
                    { QStringLiteral("background"), {}, QStringLiteral("black|none"), QStringLiteral("black or none"),
                        QStringLiteral("black (the default) or none, transparent") },
                    { QStringLiteral("output"), QStringLiteral("o"), QStringLiteral("FILE"),
                        QStringLiteral("a file name ending in .png or .svg"),
                        QStringLiteral("the picture to write, PNG or SVG by its name") },
                },
            },
            {
                QStringLiteral("link build"),
                { QStringLiteral("[--date D] [--time-zone Z]") },
                QStringLiteral("Prints the date link of the local day of D as one line, heliora://?date=yyyyMMdd."),
                {},
                { dateOption(), timeZoneOption() },
            },
            {
                QStringLiteral("link parse"),
                { QStringLiteral("URL [--time-zone Z]") },
                QStringLiteral("Prints as JSON the first instant of the day that URL opens; exits with 1 when the app "
                               "ignores URL."),
                { { QStringLiteral("URL"),
                    QStringLiteral("a date link, heliora://?date= and eight digits naming a day of the years 1 to "
                                   "9999 in the time zone") } },
                { timeZoneOption() },
            },
            {
                QStringLiteral("dates"),
                { QStringLiteral("[--date D] [--now D] [--time-zone Z] [--locale L]") },
                QStringLiteral("Prints as JSON the main window's date of D and the caption under it, counted from "
                               "--now."),
                {},
                {
                    dateOption(),
                    { QStringLiteral("now"), {}, QStringLiteral("D"), dateNeeds,
                        QStringLiteral("the present that the caption counts from (default now)") },
                    timeZoneOption(),
                    localeOption(QStringLiteral("the locale of the date and the caption (default the environment's)")),
                },
            },
            {
                QStringLiteral("settings get"),
                { QStringLiteral("show_pluto") },
                QStringLiteral("Prints true or false: whether the app and the widgets show Pluto."),
                {},
                {},
            },
            {
                QStringLiteral("settings set"),
                { QStringLiteral("show_pluto true|false") },
                QStringLiteral("Stores whether the app and the widgets show Pluto; prints nothing."),
                {},
                {},
            },
            {
                QStringLiteral("settings path"),
                {},
                QStringLiteral("Prints the path of the settings file as one line."),
                {},
                {},
            },
            {
                QStringLiteral("help"),
                { QStringLiteral("[COMMAND]") },
                QStringLiteral("Prints the usage of every command, or of one command with its options."),
                {},
                {},
            },
        };
    }

    QString synopsisLines(const CommandUsage& form, const QString& prefix)
    {
        QString text;
        const QString head = prefix + QStringLiteral("heliora-cli ") + form.name;
        const QString indent(head.size() + 1, QLatin1Char(' '));
        text += head;
        for (qsizetype i = 0; i < form.synopsis.size(); ++i)
            text += (i == 0 ? QStringLiteral(" ") : QStringLiteral("\n") + indent) + form.synopsis[i];
        return text + QLatin1Char('\n');
    }

    QString optionFlags(const OptionUsage& option)
    {
        QString flags = option.shortName.isEmpty() ? QString() : QStringLiteral("-%1, ").arg(option.shortName);
        flags += QStringLiteral("--") + option.name;
        if (!option.value.isEmpty())
            flags += QLatin1Char(' ') + option.value;
        return flags;
    }

    std::vector<const CommandUsage*> formsOf(QStringView command)
    {
        std::vector<const CommandUsage*> forms;
        for (const CommandUsage& form : commandUsages()) {
            if (form.name == command || form.group() == command)
                forms.push_back(&form);
        }
        return forms;
    }

} // namespace

QString OptionUsage::flag() const
{
    return shortName.isEmpty() ? QStringLiteral("--") + name : QStringLiteral("-") + shortName;
}

QString CommandUsage::group() const { return name.section(QLatin1Char(' '), 0, 0); }

const std::vector<CommandUsage>& commandUsages()
{
    static const std::vector<CommandUsage> table = buildTable();
    return table;
}

const CommandUsage& commandUsage(QStringView name)
{
    const auto& table = commandUsages();
    const auto it
        = std::find_if(table.begin(), table.end(), [&](const CommandUsage& form) { return form.name == name; });
    Q_ASSERT_X(it != table.end(), "commandUsage", "a command that the usage table lacks");
    return it != table.end() ? *it : table.front();
}

QStringList commandNames()
{
    QStringList names;
    for (const CommandUsage& form : commandUsages()) {
        if (!names.contains(form.group()))
            names.append(form.group());
    }
    return names;
}

QString overviewText()
{
    QString text = QStringLiteral("usage: heliora-cli COMMAND [ARGUMENTS]\n\n");
    for (const CommandUsage& form : commandUsages())
        text += synopsisLines(form, QStringLiteral("  "));
    text += QStringLiteral("  heliora-cli --version\n\n");
    text += QStringLiteral(
        "D     a date: 2024-01-31 or 2024-01-31T10:00 (read in the time zone), 2024-01-31T10:00:00Z,\n"
        "      2024-01-31T10:00:00+09:00, or @seconds since 1970\n"
        "Z     an IANA time zone such as Europe/Berlin or UTC; by default the user's (TZ, else the system's)\n"
        "L     a locale such as en_US or de_DE; by default the environment's\n");
    text += QStringLiteral("BODY  %1, in any case\n\n").arg(bodyList());
    text += QStringLiteral(
        "heliora-cli help COMMAND describes a command and its options. Exit status: 0 done, 1 the work failed,\n"
        "2 a bad command line; an error is one line on stderr and leaves stdout empty.\n");
    return text;
}

QString commandHelpText(QStringView command)
{
    const std::vector<const CommandUsage*> forms = formsOf(command);
    if (forms.empty())
        return {};
    QString text;
    for (std::size_t i = 0; i < forms.size(); ++i)
        text += synopsisLines(*forms[i], i == 0 ? QStringLiteral("usage: ") : QStringLiteral("       "));
    const QString helpFlags = QStringLiteral("-h, --help");
    qsizetype width = helpFlags.size();
    for (const CommandUsage* form : forms) {
        for (const OptionUsage& option : form->options)
            width = std::max(width, optionFlags(option).size());
    }
    const auto optionLine = [width](const QString& flags, const QString& help) {
        return QStringLiteral("  ") + flags.leftJustified(width + 2) + help + QLatin1Char('\n');
    };
    for (const CommandUsage* form : forms) {
        text += QLatin1Char('\n');
        if (forms.size() > 1)
            text += form->name + QLatin1String(": ");
        text += form->summary + QLatin1Char('\n');
        for (const OptionUsage& option : form->options)
            text += optionLine(optionFlags(option), option.help);
    }
    text += QLatin1Char('\n') + optionLine(helpFlags, QStringLiteral("print this usage"));
    return text;
}

} // namespace heliora::cli
