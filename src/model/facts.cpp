#include "model/facts.h"

#include "model/int64range.h"

#include <array>
#include <cmath>
#include <limits>

namespace heliora {

namespace {

    // Planets in declaration order, then the Sun.
    const std::array<PhysicalFacts, planetCount + 1> catalogue { {
        { 0.33011, 2439.7, 4879.4, 6.083, 3.7, 0, 87.969257175, 1407.6, 58.98, 38.86, -2.43, 221.9, 77.3 },
        { 4.8675, 6051.8, 12103.6, 92.843, 8.87, 0, 224.700799215, -5832.5, 35.26, 34.79, -4.8, 261.0, 38.2 },
        { 5.9724, 6371.0, 12742.0, 108.321, 9.798, 1, 365.25635535, 23.9, 30.29, 29.29, std::nullopt, std::nullopt,
            std::nullopt },
        { 0.64171, 3389.5, 6779.0, 16.318, 3.71, 2, 686.96797095, 24.6, 26.5, 21.97, -2.94, 401.3, 55.7 },
        { 1898.19, 69911.0, 139822.0, 143128.0, 24.79, 79, 4332.82012875, 9.9, 13.72, 12.44, -2.94, 968.1, 588.5 },
        { 568.34, 58232.0, 116464.0, 82713.0, 10.44, 82, 10755.6986445, 10.7, 10.18, 9.09, -0.55, 1658.5, 1195.5 },
        { 86.813, 25362.0, 50724.0, 6833.0, 8.87, 27, 30687.1530015, -17.2, 7.11, 6.49, 5.38, 3157.3, 2581.9 },
        { 102.413, 24622.0, 49244.0, 6254.0, 11.15, 14, 60190.029630000005, 16.1, 5.5, 5.37, 7.67, 4687.3, 4305.9 },
        { 0.01303, 1188.0, 2376.0, 0.702, 0.62, 5, 90589.5972, -153.3, 6.1, 3.71, 13.65, 7528.0, 4284.7 },
        { 1988500.0, 695700.0, 1391400.0, 1412000.0, 274.0, std::nullopt, std::nullopt, 609.12, std::nullopt,
            std::nullopt, -26.74, 152.1, 147.1 },
    } };

    bool usesDays(Planet p)
    {
        return p == Planet::mercury || p == Planet::venus || p == Planet::earth || p == Planet::mars;
    }

    // Halves away from zero, then to a signed 64-bit count; values beyond the range are clamped.
    std::int64_t roundedCount(double value)
    {
        const double rounded = std::round(value);
        if (fitsInt64(rounded))
            return static_cast<std::int64_t>(rounded);
        return rounded > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
    }

} // namespace

const PhysicalFacts& facts(const SolarSystemObject& object)
{
    const auto planet = object.asPlanet();
    return catalogue.at(planet ? indexOf(*planet) : planetCount);
}

double factValue(const SolarSystemObject& object, EarthComparable fact)
{
    // In the order of EarthComparable.
    static constexpr std::array<double PhysicalFacts::*, 6> members { &PhysicalFacts::mass, &PhysicalFacts::radius,
        &PhysicalFacts::diameter, &PhysicalFacts::volume, &PhysicalFacts::equatorialGravity,
        &PhysicalFacts::rotationPeriodHours };
    return facts(object).*members.at(static_cast<std::size_t>(fact));
}

double earthReference(EarthComparable fact) { return factValue(SolarSystemObject::planet(Planet::earth), fact); }

std::optional<double> earthRatio(const SolarSystemObject& object, EarthComparable fact)
{
    if (object.isEarth())
        return std::nullopt;
    return factValue(object, fact) / earthReference(fact);
}

std::optional<double> distanceInAstronomicalUnits(const SolarSystemObject& object, DistanceExtreme which)
{
    const PhysicalFacts& f = facts(object);
    const std::optional<double> distance
        = which == DistanceExtreme::maximum ? f.maxDistanceFromEarth : f.minDistanceFromEarth;
    if (!distance)
        return std::nullopt;
    const double metres = *distance * 1e9;
    return metres / astronomicalUnit;
}

std::optional<OrbitalPeriodDisplay> orbitalPeriodDisplay(const SolarSystemObject& object)
{
    const auto planet = object.asPlanet();
    const std::optional<double> days = facts(object).orbitalPeriodDays;
    if (!planet || !days)
        return std::nullopt;
    if (usesDays(*planet))
        return OrbitalPeriodDisplay { roundedCount(*days), PeriodUnit::days };
    return OrbitalPeriodDisplay { roundedCount(*days / daysPerYear), PeriodUnit::years };
}

bool showsRetrogradeNote(const SolarSystemObject& object)
{
    const auto planet = object.asPlanet();
    return planet && (*planet == Planet::venus || *planet == Planet::uranus || *planet == Planet::pluto);
}

} // namespace heliora
