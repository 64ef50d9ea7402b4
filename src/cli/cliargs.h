#pragma once

#include <QCommandLineParser>
#include <QJsonValue>
#include <QStringList>

#include <memory>
#include <optional>
#include <stdexcept>

#include <unicode/locid.h>
#include <unicode/timezone.h>

namespace heliora::cli {

/// A bad argument: the message is printed on one line on stderr and the command exits with status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

/// Parses the options of one command; throws UsageError on an unknown option or a stray argument.
void parseOptions(
    QCommandLineParser& parser, const QString& command, const QStringList& arguments, qsizetype positionalCount = 0);

/// The --date and --time-zone options that several commands share.
QCommandLineOption dateOptionDefinition();
QCommandLineOption timeZoneOptionDefinition();

/// The zone named by --time-zone, or the user's zone when the option is absent.
std::unique_ptr<icu::TimeZone> timeZoneOption(const QCommandLineParser& parser);

/// Seconds since 1970 from --date: "@seconds", an ISO-8601 date and time ("2024-01-31T10:00:00Z",
/// "2024-01-31T10:00:00+09:00") or a local date and time read in `zone` ("2024-01-31", "2024-01-31T10:00").
/// Absent option: now.
double dateOption(const QCommandLineParser& parser, const QString& name, const icu::TimeZone& zone);
double parseDate(const QString& text, const icu::TimeZone& zone);

/// --time-zone and --date read together: the date's wall-clock fields are read in that zone.
struct DateInZone {
    std::unique_ptr<icu::TimeZone> zone;
    double date;
};
DateInZone dateInZoneOptions(const QCommandLineParser& parser);

/// --locale L: the ICU locale it names (the string table follows it too), or `fallback` when it is absent.
/// A locale that ICU does not list is a UsageError.
icu::Locale localeOption(const QCommandLineParser& parser, const icu::Locale& fallback);

/// A finite number from the option, or the fallback when it is absent.
double numberOption(const QCommandLineParser& parser, const QString& name, double fallback);

/// Prints a JSON object or array on stdout, indented.
void printJson(const QJsonValue& value);

} // namespace heliora::cli
