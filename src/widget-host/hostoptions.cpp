#include "widget-host/hostoptions.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace heliora::host {

namespace {

    constexpr double smallestScale = 0.5;
    constexpr double largestScale = 4;
    // Far enough for any picture anyone wants, near enough that every date is an exact Qt date time.
    constexpr double largestDateMagnitude = 1e13;

    // The options that choose what the host does; any two different ones on a line are refused.
    struct ModeFlag {
        const char* flag;
        HostOptions::Mode mode;
    };
    constexpr ModeFlag modeFlags[] = {
        { "--help", HostOptions::Mode::help },
        { "-h", HostOptions::Mode::help },
        { "--version", HostOptions::Mode::version },
        { "--gallery", HostOptions::Mode::gallery },
        { "--autostart", HostOptions::Mode::autostart },
        { "--snapshot", HostOptions::Mode::snapshot },
        { "--timeline", HostOptions::Mode::timeline },
    };

} // namespace

std::optional<double> parseDateOption(const QString& value)
{
    if (value.startsWith(QLatin1Char('@'))) {
        bool ok = false;
        const double seconds = value.mid(1).toDouble(&ok);
        if (!ok || !std::isfinite(seconds) || std::abs(seconds) > largestDateMagnitude)
            return std::nullopt;
        return seconds;
    }
    const QDateTime date = QDateTime::fromString(value, Qt::ISODateWithMs);
    if (!date.isValid())
        return std::nullopt;
    return static_cast<double>(date.toMSecsSinceEpoch()) / 1000.0;
}

std::optional<HostOptions> parseHostOptions(const QStringList& arguments, QString* error)
{
    HostOptions options;
    QStringList positional;
    bool modeSet = false;
    auto fail = [error](const QString& message) -> std::optional<HostOptions> {
        if (error)
            *error = message;
        return std::nullopt;
    };
    auto setMode = [&](HostOptions::Mode mode) {
        if (modeSet && options.mode != mode)
            return false;
        options.mode = mode;
        modeSet = true;
        return true;
    };

    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        auto value = [&](QString* out) {
            if (i + 1 >= arguments.size())
                return false;
            *out = arguments.at(++i);
            return true;
        };
        QString text;
        bool known = true;
        const auto* modeFlag = std::find_if(std::begin(modeFlags), std::end(modeFlags),
            [&argument](const ModeFlag& entry) { return argument == QLatin1String(entry.flag); });
        if (modeFlag != std::end(modeFlags))
            known = setMode(modeFlag->mode);
        else if (argument == QLatin1String("--verbose"))
            options.verbose = true;
        else if (argument == QLatin1String("--scale")) {
            if (!value(&text))
                return fail(QStringLiteral("--scale needs a number"));
            bool ok = false;
            options.scale = text.toDouble(&ok);
            if (!ok || !(options.scale >= smallestScale && options.scale <= largestScale))
                return fail(QStringLiteral("--scale must lie between %1 and %2, got %3")
                                .arg(smallestScale)
                                .arg(largestScale)
                                .arg(text));
        } else if (argument == QLatin1String("--date")) {
            if (!value(&text))
                return fail(QStringLiteral("--date needs a date"));
            options.date = parseDateOption(text);
            if (!options.date)
                return fail(QStringLiteral("--date must be ISO 8601 or @seconds, got %1").arg(text));
        } else if (argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            return fail(QStringLiteral("unknown option %1").arg(argument));
        } else {
            positional.append(argument);
        }
        if (!known)
            return fail(QStringLiteral("%1 cannot be combined with the other command given").arg(argument));
    }

    const bool drawing = options.mode == HostOptions::Mode::snapshot;
    if ((options.scale != 1 || options.date) && !drawing)
        return fail(QStringLiteral("--scale and --date go with --snapshot only"));
    switch (options.mode) {
    case HostOptions::Mode::snapshot:
        if (positional.size() != 3)
            return fail(QStringLiteral("--snapshot needs KIND FAMILY FILE.png"));
        options.file = positional.at(2);
        if (!options.file.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
            return fail(QStringLiteral("the picture must be a .png file, got %1").arg(options.file));
        break;
    case HostOptions::Mode::timeline:
        if (positional.size() != 2)
            return fail(QStringLiteral("--timeline needs KIND FAMILY"));
        break;
    default:
        if (!positional.isEmpty())
            return fail(QStringLiteral("unexpected argument %1").arg(positional.first()));
        return options;
    }
    options.kind = positional.at(0);
    options.family = positional.at(1);
    return options;
}

QString hostUsage()
{
    return QStringLiteral(
        "usage: heliora-widgets [--gallery | --autostart] [--verbose]\n"
        "       heliora-widgets --snapshot KIND FAMILY FILE.png [--scale S] [--date D]\n"
        "       heliora-widgets --timeline KIND FAMILY\n"
        "       heliora-widgets --help | --version\n"
        "\n"
        "Shows Heliora's desktop widgets. Without options it brings back the widgets placed before, or opens the\n"
        "gallery when there are none.\n"
        "\n"
        "  --gallery       open the gallery of widgets, to add one to the desktop\n"
        "  --autostart     bring back the placed widgets; with none, exit at once (the log-in entry uses this)\n"
        "  --snapshot      draw one widget into a PNG file without a display and print what was drawn as JSON\n"
        "  --timeline      print the widget's timeline as JSON\n"
        "  --scale S       device pixels per point, 0.5 to 4 (default 1)\n"
        "  --date D        draw the instant D (ISO 8601, or @seconds since 1970) instead of now\n"
        "  --verbose       write one line on standard error for every picture drawn\n"
        "\n"
        "Kinds: PlanetsListWidget (medium), SolarSystemWidget (small, large).\n");
}

} // namespace heliora::host
