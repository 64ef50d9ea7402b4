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

    int linkBuild(const QStringList& arguments)
    {
        const ParsedArguments parsed(commandUsage(u"link build"), arguments);
        const auto [zone, date] = dateInZoneOptions(parsed);
        printText(buildDateLink(date, *zone));
        return success;
    }

    int linkParse(const QStringList& arguments)
    {
        const ParsedArguments parsed(commandUsage(u"link parse"), arguments);
        const auto zone = timeZoneOption(parsed);
        const QString& link = parsed.positionals().constFirst();
        const auto date = parseDateLink(link, *zone);
        // A link that the app ignores is a result, not a usage error: scripts test for it by the exit status.
        if (!date) {
            const CommandUsage& usage = parsed.usage();
            throw CommandFailure(usage.name,
                QStringLiteral("the app ignores this URL: it needs ") + usage.positionals.front().needs + got(link));
        }
        printJson(QJsonObject { { "date", *date }, { "local", isoLocalTime(*date, *zone) } });
        return success;
    }

} // namespace

int linkCommand(const QStringList& arguments)
{
    const std::optional<QString> action
        = arguments.isEmpty() ? std::nullopt : std::optional<QString>(arguments.constFirst());
    if (action == QLatin1String("build"))
        return linkBuild(arguments.mid(1));
    if (action == QLatin1String("parse"))
        return linkParse(arguments.mid(1));
    if (action == QLatin1String("--help") || action == QLatin1String("-h"))
        throw HelpRequest { QStringLiteral("link") };
    throw UsageError(u"link", QStringLiteral("needs build or parse") + got(action));
}

int datesCommand(const QStringList& arguments)
{
    const ParsedArguments parsed(commandUsage(u"dates"), arguments);
    const auto [zone, date] = dateInZoneOptions(parsed);
    const double now = dateOption(parsed, u"now", *zone);
    const icu::Locale locale = localeOption(parsed, dateLocale());
    const auto caption = relativeDateText(date, now, locale, *zone, strings());
    printJson(QJsonObject {
        { "display", displayDateText(date, locale, *zone) },
        { "caption", caption ? QJsonValue(*caption) : QJsonValue(QJsonValue::Null) },
    });
    return 0;
}

} // namespace heliora::cli
