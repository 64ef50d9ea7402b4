#include "cliargs.h"

#include "environment.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cmath>
#include <cstdio>

#include <unicode/gregocal.h>

namespace heliora::cli {

void parseOptions(QCommandLineParser& parser, const QString& command, const QStringList& arguments,
    qsizetype positionalCount)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (!parser.parse(QStringList { command } + arguments))
        throw UsageError(parser.errorText().toStdString());
    if (parser.positionalArguments().size() != positionalCount) {
        throw UsageError(QStringLiteral("%1: expected %2 argument(s), got %3")
                             .arg(command)
                             .arg(positionalCount)
                             .arg(parser.positionalArguments().size())
                             .toStdString());
    }
}

std::unique_ptr<icu::TimeZone> timeZoneOption(const QCommandLineParser& parser)
{
    if (!parser.isSet(QStringLiteral("time-zone")))
        return userTimeZone();
    const QString id = parser.value(QStringLiteral("time-zone"));
    auto zone = timeZoneFromId(id.toStdString());
    if (!zone)
        throw UsageError("unknown time zone: " + id.toStdString());
    return zone;
}

double parseDate(const QString& text, const icu::TimeZone& zone)
{
    if (text.startsWith(QLatin1Char('@'))) {
        bool ok = false;
        const double seconds = text.mid(1).toDouble(&ok);
        if (!ok || !std::isfinite(seconds))
            throw UsageError("unparsable date: " + text.toStdString());
        return seconds;
    }
    // A date with an offset or Z names an instant; without one, its wall-clock time is read in `zone`.
    static const QRegularExpression withOffset(QStringLiteral("T.*(Z|[+-]\\d\\d:?\\d\\d)$"));
    if (withOffset.match(text).hasMatch()) {
        const QDateTime instant = QDateTime::fromString(text, Qt::ISODateWithMs);
        if (!instant.isValid())
            throw UsageError("unparsable date: " + text.toStdString());
        return static_cast<double>(instant.toMSecsSinceEpoch()) / 1000.0;
    }
    // Read the wall-clock fields as if in UTC (no daylight-saving gaps there), then place them in `zone`.
    QDateTime parsed = QDateTime::fromString(text + QLatin1Char('Z'), Qt::ISODateWithMs);
    if (!parsed.isValid()) {
        const QDate day = QDate::fromString(text, Qt::ISODate);
        if (day.isValid())
            parsed = QDateTime(day, QTime(0, 0), Qt::UTC);
    }
    if (!parsed.isValid())
        throw UsageError("unparsable date: " + text.toStdString());

    UErrorCode status = U_ZERO_ERROR;
    icu::GregorianCalendar calendar(zone, status);
    // ISO-8601 dates are proleptic Gregorian, also before 1582.
    calendar.setGregorianChange(-1.0e300, status);
    calendar.clear();
    const QDate d = parsed.date();
    const QTime t = parsed.time();
    calendar.set(d.year(), d.month() - 1, d.day(), t.hour(), t.minute(), t.second());
    calendar.set(UCAL_MILLISECOND, t.msec());
    const UDate millis = calendar.getTime(status);
    if (U_FAILURE(status))
        throw UsageError("unparsable date: " + text.toStdString());
    return millis / 1000.0;
}

double dateOption(const QCommandLineParser& parser, const QString& name, const icu::TimeZone& zone)
{
    if (!parser.isSet(name))
        return static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
    return parseDate(parser.value(name), zone);
}

double numberOption(const QCommandLineParser& parser, const QString& name, double fallback)
{
    if (!parser.isSet(name))
        return fallback;
    bool ok = false;
    const double value = parser.value(name).toDouble(&ok);
    if (!ok || !std::isfinite(value))
        throw UsageError(QStringLiteral("--%1 needs a finite number, got %2").arg(name, parser.value(name)).toStdString());
    return value;
}

void printJson(const QJsonValue& value)
{
    const QJsonDocument document = value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    const QByteArray bytes = document.toJson(QJsonDocument::Indented);
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
}

} // namespace heliora::cli
