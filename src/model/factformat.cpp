#include "model/factformat.h"

#include "model/environment.h"

#include <cmath>

#include <unicode/numberformatter.h>

namespace heliora {

namespace {

    TextKey number(double value, const icu::Locale& locale)
    {
        return TextKey { "%@", formatFactNumber(value, locale) };
    }

    std::optional<SecondaryLine> ratioLine(
        const SolarSystemObject& object, EarthComparable fact, const icu::Locale& locale)
    {
        const std::optional<double> ratio = earthRatio(object, fact);
        if (!ratio)
            return std::nullopt;
        return SecondaryLine { SecondaryLine::Kind::ratio,
            { TextKey { "%@ x ", formatFactNumber(truncateForDisplay(*ratio), locale) }, TextKey { "earth" } } };
    }

    struct ComparableRow {
        FactRowId id;
        const char* title;
        const char* suffix;
        const char* caption;
        EarthComparable fact;
    };

} // namespace

std::string formatFactNumber(double value) { return formatFactNumber(value, numberLocale()); }

std::string formatFactNumber(double value, const icu::Locale& locale)
{
    using namespace icu::number;
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString text = NumberFormatter::withLocale(locale)
                                        .grouping(UNUM_GROUPING_ON_ALIGNED)
                                        .precision(Precision::minMaxFraction(0, 16))
                                        .sign(UNUM_SIGN_NEGATIVE)
                                        .formatDouble(value, status)
                                        .toString(status);
    if (U_FAILURE(status))
        return {};
    std::string out;
    text.toUTF8String(out);
    return out;
}

double truncateForDisplay(double value)
{
    if (value <= -10 || value >= 10)
        return std::trunc(value);
    double factor = 1000;
    if (value <= -1 || value >= 1)
        factor = 10;
    else if (value <= -0.01 || value >= 0.01)
        factor = 100;
    return std::trunc(value * factor) / factor;
}

std::string_view rowName(FactRowId id)
{
    switch (id) {
    case FactRowId::category:
        return "category";
    case FactRowId::mass:
        return "mass";
    case FactRowId::radius:
        return "radius";
    case FactRowId::diameter:
        return "diameter";
    case FactRowId::volume:
        return "volume";
    case FactRowId::gravity:
        return "gravity";
    case FactRowId::naturalSatellites:
        return "natural_satellites";
    case FactRowId::orbitalPeriod:
        return "orbital_period";
    case FactRowId::rotationPeriod:
        return "rotation_period";
    case FactRowId::maxOrbitalVelocity:
        return "max_orbital_velocity";
    case FactRowId::minOrbitalVelocity:
        return "min_orbital_velocity";
    case FactRowId::apparentMagnitude:
        return "apparent_magnitude";
    case FactRowId::maxDistanceFromEarth:
        return "max_distance_from_earth";
    case FactRowId::minDistanceFromEarth:
        return "min_distance_from_earth";
    }
    return {};
}

int factSection(FactRowId id)
{
    if (id <= FactRowId::naturalSatellites)
        return 0;
    if (id <= FactRowId::minOrbitalVelocity)
        return 1;
    return 2;
}

std::vector<FactRow> factRows(const SolarSystemObject& object) { return factRows(object, numberLocale()); }

std::vector<FactRow> factRows(const SolarSystemObject& object, const icu::Locale& locale)
{
    const PhysicalFacts& f = facts(object);
    std::vector<FactRow> rows;

    if (const auto category = object.categoryKey())
        rows.push_back({ FactRowId::category, "type", {}, {}, { TextKey { std::string(*category) } }, {} });

    static constexpr ComparableRow physical[] = {
        { FactRowId::mass, "mass", " (10²⁴ kg)", nullptr, EarthComparable::mass },
        { FactRowId::radius, "radius", " (km)", "radius_of_sphere", EarthComparable::radius },
        { FactRowId::diameter, "diameter", " (km)", "diameter_of_sphere", EarthComparable::diameter },
        { FactRowId::volume, "volume", " (10¹⁰ km³)", nullptr, EarthComparable::volume },
        { FactRowId::gravity, "gravity", " (m/s²)", "equatorial_gravitational_acceleration",
            EarthComparable::equatorialGravity },
    };
    for (const ComparableRow& r : physical) {
        std::vector<std::string> caption;
        if (r.caption)
            caption.emplace_back(r.caption);
        rows.push_back({ r.id, r.title, r.suffix, caption, { number(factValue(object, r.fact), locale) },
            ratioLine(object, r.fact, locale) });
    }

    if (f.naturalSatellites) {
        rows.push_back({ FactRowId::naturalSatellites, "satellite", {}, { "number_of_natural_satellites" },
            { TextKey { "%lld", {}, *f.naturalSatellites } }, {} });
    }

    if (const auto period = orbitalPeriodDisplay(object)) {
        const char* key = period->unit == PeriodUnit::days ? "number_of_days" : "number_of_years";
        rows.push_back({ FactRowId::orbitalPeriod, "orbital_period", {}, { "time_to_complete_one_orbit" },
            { TextKey { key, {}, period->count } }, {} });
    }

    std::vector<std::string> rotationCaption { "time_to_complete_one_rotation" };
    if (showsRetrogradeNote(object)) {
        rotationCaption.emplace_back(" ");
        rotationCaption.emplace_back("negative_numbers_indicate_retrograde_rotation");
    }
    rows.push_back({ FactRowId::rotationPeriod, "rotation_period", {}, rotationCaption,
        { number(f.rotationPeriodHours, locale), TextKey { " " }, TextKey { "hours" } },
        ratioLine(object, EarthComparable::rotationPeriodHours, locale) });

    if (f.maxOrbitalVelocity) {
        rows.push_back({ FactRowId::maxOrbitalVelocity, "max_orbital_velocity", " (km/s)",
            { "maximum_orbital_velocity_at_perihelion" }, { number(*f.maxOrbitalVelocity, locale) }, {} });
    }
    if (f.minOrbitalVelocity) {
        rows.push_back({ FactRowId::minOrbitalVelocity, "min_orbital_velocity", " (km/s)",
            { "minimum_orbital_velocity_at_aphelion" }, { number(*f.minOrbitalVelocity, locale) }, {} });
    }

    if (object.isEarth())
        return rows;

    if (f.maximumApparentMagnitude) {
        rows.push_back({ FactRowId::apparentMagnitude, "maximum_apparent_magnitude", " (m)",
            { "apparent_magnitude_is_measure_of_brightness" }, { number(*f.maximumApparentMagnitude, locale) }, {} });
    }
    const auto distanceRow = [&](FactRowId id, const char* title, std::optional<std::string> caption,
                                 std::optional<double> distance, DistanceExtreme which) {
        const std::optional<double> au = distanceInAstronomicalUnits(object, which);
        if (!distance || !au)
            return;
        std::vector<std::string> captionKeys;
        if (caption)
            captionKeys.push_back(*caption);
        rows.push_back({ id, title, " (10⁶ km)", captionKeys, { number(*distance, locale) },
            SecondaryLine { SecondaryLine::Kind::astronomicalUnits,
                { TextKey { "%@ AU", formatFactNumber(truncateForDisplay(*au), locale) } } } });
    };
    distanceRow(FactRowId::maxDistanceFromEarth, "max_distance_from_earth", "astronomical_unit_description",
        f.maxDistanceFromEarth, DistanceExtreme::maximum);
    distanceRow(FactRowId::minDistanceFromEarth, "min_distance_from_earth", std::nullopt, f.minDistanceFromEarth,
        DistanceExtreme::minimum);
    return rows;
}

} // namespace heliora
