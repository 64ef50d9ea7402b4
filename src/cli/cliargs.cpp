#include "cli/cliargs.h"

#include "clock/currentdate.h"
#include "clock/isodate.h"
#include "model/environment.h"
#include "strings/stringtable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace heliora::cli {

namespace {

    QString optionList(const CommandUsage& usage)
    {
        QStringList flags;
        for (const OptionUsage& option : usage.options)
            flags.append(option.shortName.isEmpty() ? QStringLiteral("--") + option.name
                                                    : QStringLiteral("-%1/--%2").arg(option.shortName, option.name));
        flags.append(QStringLiteral("--help"));
        return flags.join(QLatin1String(", "));
    }

    QString positionalList(const CommandUsage& usage)
    {
        QStringList names;
        for (const PositionalUsage& positional : usage.positionals)
            names.append(positional.name);
        return names.isEmpty() ? QStringLiteral("options only") : names.join(QLatin1Char(' ')) + " and options";
    }

} // namespace

ParsedArguments::ParsedArguments(const CommandUsage& usage, const QStringList& arguments)
    : m_usage(&usage)
{
    // Every argument is read before any error is raised, so that --help anywhere among the options wins.
    std::optional<UsageError> firstError;
    const auto fail = [&](const QString& message) {
        if (!firstError)
            firstError.emplace(usage.name, message);
    };
    bool help = false;
    bool onlyPlain = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (onlyPlain || argument == QLatin1String("-") || !argument.startsWith(QLatin1Char('-'))) {
            m_positionals.append(argument);
            continue;
        }
        if (argument == QLatin1String("--")) {
            onlyPlain = true;
            continue;
        }
        const bool isLong = argument.startsWith(QLatin1String("--"));
        const QString body = argument.mid(isLong ? 2 : 1);
        const qsizetype equals = body.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? body : body.left(equals);
        const std::optional<QString> inlineValue
            = equals < 0 ? std::nullopt : std::optional<QString>(body.mid(equals + 1));
        if (isLong ? name == QLatin1String("help") : name == QLatin1String("h")) {
            help = true;
            continue;
        }
        const auto it = std::find_if(usage.options.begin(), usage.options.end(),
            [&](const OptionUsage& option) { return isLong ? option.name == name : option.shortName == name; });
        if (name.isEmpty() || it == usage.options.end()) {
            fail(QStringLiteral("unknown option %1 (options: %2)").arg(quotedForTerminal(argument), optionList(usage)));
            continue;
        }
        if (it->value.isEmpty()) {
            if (inlineValue)
                fail(QStringLiteral("--%1 takes no value").arg(it->name) + got(*inlineValue));
            else
                m_values[it->name] = QString();
            continue;
        }
        if (inlineValue) {
            m_values[it->name] = *inlineValue;
        } else if (i + 1 < arguments.size()) {
            m_values[it->name] = arguments[++i];
        } else {
            fail(QStringLiteral("%1 needs %2").arg(it->flag(), it->needs) + got(std::nullopt));
        }
    }
    if (help)
        throw HelpRequest { usage.name };
    if (firstError)
        throw *firstError;
    const auto expected = static_cast<qsizetype>(usage.positionals.size());
    if (m_positionals.size() > expected) {
        throw error(QStringLiteral("unexpected argument %1; %2 takes %3")
                        .arg(quotedForTerminal(m_positionals.at(expected)), usage.name, positionalList(usage)));
    }
    if (m_positionals.size() < expected)
        throw badPositional(m_positionals.size());
}

const OptionUsage* ParsedArguments::option(QStringView name) const
{
    for (const OptionUsage& option : m_usage->options) {
        if (option.name == name)
            return &option;
    }
    Q_ASSERT_X(false, "ParsedArguments", "an option that the usage table lacks");
    return nullptr;
}

bool ParsedArguments::isSet(QStringView name) const { return m_values.contains(name.toString()); }

std::optional<QString> ParsedArguments::value(QStringView name) const
{
    const auto it = m_values.find(name.toString());
    return it == m_values.end() ? std::nullopt : std::optional<QString>(it->second);
}

UsageError ParsedArguments::badValue(QStringView name) const
{
    const OptionUsage* definition = option(name);
    const std::optional<QString> given = value(name);
    const QString flag = definition ? definition->flag() : QStringLiteral("--") + name.toString();
    const QString needs = definition ? definition->needs : QString();
    return error(QStringLiteral("%1 needs %2").arg(flag, needs)
        + got(given ? std::optional<QStringView>(*given) : std::nullopt));
}

UsageError ParsedArguments::badPositional(qsizetype index) const
{
    const PositionalUsage& positional = m_usage->positionals.at(static_cast<std::size_t>(index));
    const std::optional<QStringView> given
        = index < m_positionals.size() ? std::optional<QStringView>(m_positionals.at(index)) : std::nullopt;
    return error(QStringLiteral("%1 must be %2").arg(positional.name, positional.needs) + got(given));
}

UsageError ParsedArguments::error(QStringView message) const { return UsageError(m_usage->name, message); }

double numberOption(
    const ParsedArguments& arguments, QStringView name, double fallback, const std::function<bool(double)>& accepted)
{
    const std::optional<QString> text = arguments.value(name);
    if (!text)
        return fallback;
    bool ok = false;
    const double value = text->toDouble(&ok);
    if (!ok || !std::isfinite(value) || (accepted && !accepted(value)))
        throw arguments.badValue(name);
    return value;
}

std::unique_ptr<icu::TimeZone> timeZoneOption(const ParsedArguments& arguments)
{
    const std::optional<QString> id = arguments.value(u"time-zone");
    if (!id)
        return userTimeZone();
    auto zone = timeZoneFromId(id->toStdString());
    if (!zone)
        throw arguments.badValue(u"time-zone");
    return zone;
}

double dateOption(const ParsedArguments& arguments, QStringView name, const icu::TimeZone& zone)
{
    const std::optional<QString> text = arguments.value(name);
    if (!text)
        return currentDate();
    const std::optional<double> date = parseIsoDate(*text, zone);
    if (!date)
        throw arguments.badValue(name);
    return *date;
}

DateInZone dateInZoneOptions(const ParsedArguments& arguments)
{
    auto zone = timeZoneOption(arguments);
    const double date = dateOption(arguments, u"date", *zone);
    return { std::move(zone), date };
}

icu::Locale localeOption(const ParsedArguments& arguments, const icu::Locale& fallback)
{
    const std::optional<QString> name = arguments.value(u"locale");
    if (!name)
        return fallback;
    if (!isAvailableLocale(name->toStdString()))
        throw arguments.badValue(u"locale");
    setStringsLanguage(*name);
    return localeFromPosixName(name->toStdString());
}

void printJson(const QJsonValue& value)
{
    const QJsonDocument document = value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    const QByteArray bytes = document.toJson(QJsonDocument::Indented);
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
}

void printText(const QString& line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
}

} // namespace heliora::cli
