#include "cli/cliargs.h"
#include "cli/commands.h"

#include "model/environment.h"
#include "model/factformat.h"
#include "model/orbit.h"
#include "strings/stringtable.h"

#include <QJsonArray>
#include <QJsonObject>

#include <cmath>

namespace heliora::cli {

int positionsCommand(const QStringList& arguments)
{
    const ParsedArguments parsed(commandUsage(u"positions"), arguments);
    const auto [zone, date] = dateInZoneOptions(parsed);
    const double period = numberOption(parsed, u"preset-period", presetPeriod);
    const double radius = numberOption(parsed, u"radius", limits::defaultRadius);
    const double epoch = referenceEpoch(*zone);

    QJsonArray planets;
    for (const Planet planet : allPlanets) {
        const double angle = orbitalAngleFromEpoch(planet, date, period, radius, epoch);
        planets.append(QJsonObject {
            { "planet", QString::fromUtf8(rawValue(planet)) },
            { "angle", angle },
            { "screenAngle", screenAngle(planet, angle) },
        });
    }
    printJson(QJsonObject {
        { "date", date },
        { "timeZone", QString::fromStdString(timeZoneId(*zone)) },
        { "epoch", epoch },
        { "presetPeriod", period },
        { "radius", radius },
        { "planets", planets },
    });
    return 0;
}

int factsCommand(const QStringList& arguments)
{
    const ParsedArguments parsed(commandUsage(u"facts"), arguments);
    // Any case names the body ("Sun", "MARS"); the output names it by its key.
    const std::optional<SolarSystemObject> body
        = solarSystemObjectFromKey(parsed.positionals().constFirst().toStdString());
    if (!body)
        throw parsed.badPositional(0);
    const icu::Locale locale = localeOption(parsed, numberLocale());

    QJsonArray rows;
    for (const FactRow& row : factRows(*body, locale)) {
        QJsonObject item {
            { "row", QString::fromUtf8(rowName(row.id)) },
            { "title", text(row.titleKey) + (row.unitSuffixKey ? text(*row.unitSuffixKey) : QString()) },
            { "value", strings().joined(row.value) },
        };
        if (!row.captionKeys.empty())
            item.insert("caption", strings().joined(row.captionKeys));
        if (row.secondary) {
            const bool ratio = row.secondary->kind == SecondaryLine::Kind::ratio;
            // The number text of the secondary line, without its template.
            item.insert(ratio ? "ratio" : "au", QString::fromStdString(*row.secondary->pieces.front().argument));
        }
        rows.append(item);
    }
    printJson(QJsonObject {
        { "body", QString::fromUtf8(body->localizationKey()) },
        { "name", localizedName(*body) },
        { "rows", rows },
    });
    return 0;
}

} // namespace heliora::cli
