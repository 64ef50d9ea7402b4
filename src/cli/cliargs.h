#pragma once

#include "cli/errorline.h"
#include "cli/usage.h"

#include <QJsonValue>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <optional>

#include <unicode/locid.h>
#include <unicode/timezone.h>

namespace heliora::cli {

/// --help or -h among a command's options: the dispatcher prints the usage of `command` on stdout and exits 0.
struct HelpRequest {
    QString command;
};

/// A value type: one command line read against its form in the usage table. Options are `--name value`,
/// `--name=value`, `-o value` (a one-letter alias), or `--name` alone for a switch; the last of a repeated
/// option wins; a value is the next argument whatever it looks like (`--radius -5`); `-` and everything after
/// `--` are plain arguments. The constructor throws HelpRequest when --help or -h is among the options, else
/// UsageError for an unknown option, a missing value, a value given to a switch, or a wrong number of plain
/// arguments; each error line says what the command accepts.
class ParsedArguments {
public:
    ParsedArguments(const CommandUsage& usage, const QStringList& arguments);

    const CommandUsage& usage() const { return *m_usage; }
    bool isSet(QStringView name) const;
    /// The value of an option (its last one), or nothing when it was not given.
    std::optional<QString> value(QStringView name) const;
    /// The plain arguments, as many as the usage names.
    const QStringList& positionals() const { return m_positionals; }

    /// The error for an option's value that is not accepted: `--scale needs a number from 0.5 to 4 (got "x")`.
    UsageError badValue(QStringView name) const;
    /// The error for a plain argument that is not accepted: `BODY must be one of sun, ... or pluto (got "x")`.
    UsageError badPositional(qsizetype index) const;
    /// Any other error of this command.
    UsageError error(QStringView message) const;

private:
    const OptionUsage* option(QStringView name) const;

    const CommandUsage* m_usage;
    std::map<QString, QString> m_values;
    QStringList m_positionals;
};

/// A finite number from the option that `accepted` takes (any finite number by default), or the fallback when
/// the option is absent; anything else is the option's UsageError.
double numberOption(const ParsedArguments& arguments, QStringView name, double fallback,
    const std::function<bool(double)>& accepted = {});

/// The zone named by --time-zone, or the user's zone when the option is absent.
std::unique_ptr<icu::TimeZone> timeZoneOption(const ParsedArguments& arguments);

/// Seconds since 1970 from a date option (--date, --now): "@seconds", an ISO-8601 date and time
/// ("2024-01-31T10:00:00Z", "2024-01-31T10:00:00+09:00") or a local date and time read in `zone`
/// ("2024-01-31", "2024-01-31T10:00"). Absent option: now.
double dateOption(const ParsedArguments& arguments, QStringView name, const icu::TimeZone& zone);

/// --time-zone and --date read together: the date's wall-clock fields are read in that zone.
struct DateInZone {
    std::unique_ptr<icu::TimeZone> zone;
    double date;
};
DateInZone dateInZoneOptions(const ParsedArguments& arguments);

/// --locale L: the ICU locale it names (the string table follows it too), or `fallback` when it is absent.
icu::Locale localeOption(const ParsedArguments& arguments, const icu::Locale& fallback);

/// Prints a JSON object or array on stdout, indented.
void printJson(const QJsonValue& value);
/// Prints one line of text on stdout.
void printText(const QString& line);

} // namespace heliora::cli
