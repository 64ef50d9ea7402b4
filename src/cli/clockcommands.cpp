#include "cli/cliargs.h"
#include "cli/commands.h"

#include "clock/datetexts.h"
#include "clock/gregoriancalendar.h"
#include "model/environment.h"
#include "strings/stringtable.h"

#include <QJsonObject>

#include <cstdio>

#include <unicode/gregocal.h>
#include <unicode/smpdtfmt.h>

namespace heliora::cli {

namespace {

    // ISO 8601 local time with its offset ("2024-01-31T00:00:00+01:00"), proleptic Gregorian like every ISO date.
    QString isoLocalTime(double date, const icu::TimeZone& zone)
    {
        UErrorCode status = U_ZERO_ERROR;
        icu::SimpleDateFormat format(
            icu::UnicodeString(u"yyyy-MM-dd'T'HH:mm:ssxxx"), icu::Locale("en_US_POSIX"), status);
        if (auto calendar = prolepticGregorianCalendar(zone))
            format.adoptCalendar(calendar.release());
        icu::UnicodeString text;
        format.format(date * 1000.0, text);
        std::string utf8;
        text.toUTF8String(utf8);
        return QString::fromStdString(utf8);
    }

    void printLine(const QString& text) { std::printf("%s\n", text.toUtf8().constData()); }

    int linkBuild(const QStringList& arguments)
    {
        QCommandLineParser parser;
        parser.addOptions({
            dateOptionDefinition(),
            timeZoneOptionDefinition(),
        });
        parseOptions(parser, QStringLiteral("link build"), arguments);
        const auto [zone, date] = dateInZoneOptions(parser);
        printLine(buildDateLink(date, *zone));
        return 0;
    }

    int linkParse(const QStringList& arguments)
    {
        QCommandLineParser parser;
        parser.addOption(timeZoneOptionDefinition());
        parseOptions(parser, QStringLiteral("link parse"), arguments, 1);
        const auto zone = timeZoneOption(parser);
        const auto date = parseDateLink(parser.positionalArguments().constFirst(), *zone);
        if (!date)
            return 1;
        printJson(QJsonObject { { "date", *date }, { "local", isoLocalTime(*date, *zone) } });
        return 0;
    }

} // namespace

int linkCommand(const QStringList& arguments)
{
    const QString action = arguments.value(0);
    if (action == QLatin1String("build"))
        return linkBuild(arguments.mid(1));
    if (action == QLatin1String("parse"))
        return linkParse(arguments.mid(1));
    throw UsageError("link: expected build or parse");
}

int datesCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.addOptions({
        dateOptionDefinition(),
        { "now", "the present, as --date", "date" },
        timeZoneOptionDefinition(),
        { "locale", "locale for the date and the caption, e.g. de_DE", "locale" },
    });
    parseOptions(parser, QStringLiteral("dates"), arguments);
    const auto [zone, date] = dateInZoneOptions(parser);
    const double now = dateOption(parser, QStringLiteral("now"), *zone);
    const icu::Locale locale = localeOption(parser, dateLocale());
    const auto caption = relativeDateText(date, now, locale, *zone, strings());
    printJson(QJsonObject {
        { "display", displayDateText(date, locale, *zone) },
        { "caption", caption ? QJsonValue(*caption) : QJsonValue(QJsonValue::Null) },
    });
    return 0;
}

} // namespace heliora::cli
