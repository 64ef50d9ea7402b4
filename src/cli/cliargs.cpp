#include "cli/cliargs.h"

#include "clock/currentdate.h"
#include "clock/isodate.h"
#include "model/environment.h"
#include "strings/stringtable.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <cstdio>

namespace heliora::cli {

void parseOptions(
    QCommandLineParser& parser, const QString& command, const QStringList& arguments, qsizetype positionalCount)
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

QCommandLineOption dateOptionDefinition() { return { "date", "ISO-8601 date or @seconds", "date" }; }

QCommandLineOption timeZoneOptionDefinition() { return { "time-zone", "IANA time zone", "zone" }; }

DateInZone dateInZoneOptions(const QCommandLineParser& parser)
{
    auto zone = timeZoneOption(parser);
    const double date = dateOption(parser, QStringLiteral("date"), *zone);
    return { std::move(zone), date };
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
    const std::optional<double> date = parseIsoDate(text, zone);
    if (!date)
        throw UsageError("unparsable date: " + text.toStdString());
    return *date;
}

double dateOption(const QCommandLineParser& parser, const QString& name, const icu::TimeZone& zone)
{
    if (!parser.isSet(name))
        return currentDate();
    return parseDate(parser.value(name), zone);
}

icu::Locale localeOption(const QCommandLineParser& parser, const icu::Locale& fallback)
{
    if (!parser.isSet(QStringLiteral("locale")))
        return fallback;
    const QString name = parser.value(QStringLiteral("locale"));
    if (!isAvailableLocale(name.toStdString()))
        throw UsageError("unknown locale: " + name.toStdString());
    setStringsLanguage(name);
    return localeFromPosixName(name.toStdString());
}

double numberOption(const QCommandLineParser& parser, const QString& name, double fallback)
{
    if (!parser.isSet(name))
        return fallback;
    bool ok = false;
    const double value = parser.value(name).toDouble(&ok);
    if (!ok || !std::isfinite(value))
        throw UsageError(
            QStringLiteral("--%1 needs a finite number, got %2").arg(name, parser.value(name)).toStdString());
    return value;
}

void printJson(const QJsonValue& value)
{
    const QJsonDocument document = value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    const QByteArray bytes = document.toJson(QJsonDocument::Indented);
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
}

} // namespace heliora::cli
