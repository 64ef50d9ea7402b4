#pragma once

#include "model/planet.h"

#include <cstdint>
#include <optional>

namespace heliora {

/// The compiled-in physical and observational facts of one body. Optional facts are absent, not zero,
/// for the bodies that lack them (the Sun has no moons or orbit; Earth is not seen from Earth).
struct PhysicalFacts {
    double mass; ///< 10^24 kg
    double radius; ///< km
    double diameter; ///< km
    double volume; ///< 10^10 km^3
    double equatorialGravity; ///< m/s^2
    std::optional<std::int64_t> naturalSatellites;
    std::optional<double> orbitalPeriodDays;
    double rotationPeriodHours; ///< negative for retrograde rotation
    std::optional<double> maxOrbitalVelocity; ///< km/s, at perihelion
    std::optional<double> minOrbitalVelocity; ///< km/s, at aphelion
    std::optional<double> maximumApparentMagnitude;
    std::optional<double> maxDistanceFromEarth; ///< 10^6 km
    std::optional<double> minDistanceFromEarth; ///< 10^6 km
};

/// The facts that can be compared with Earth's.
enum class EarthComparable { mass, radius, diameter, volume, equatorialGravity, rotationPeriodHours };

enum class DistanceExtreme { maximum, minimum };

enum class PeriodUnit { days, years };

struct OrbitalPeriodDisplay {
    std::int64_t count;
    PeriodUnit unit;
    friend bool operator==(const OrbitalPeriodDisplay&, const OrbitalPeriodDisplay&) = default;
};

inline constexpr double astronomicalUnit = 149597870700.0; ///< metres
inline constexpr double daysPerYear = 365.25635535;

const PhysicalFacts& facts(const SolarSystemObject& object);

/// Earth's value of a comparable fact, the divisor of every times-Earth ratio.
double earthReference(EarthComparable fact);

/// The body's value of a comparable fact.
double factValue(const SolarSystemObject& object, EarthComparable fact);

/// The value divided by Earth's, signed and unrounded; absent for Earth itself.
std::optional<double> earthRatio(const SolarSystemObject& object, EarthComparable fact);

/// The distance from Earth in astronomical units; absent where the distance is (Earth).
std::optional<double> distanceInAstronomicalUnits(const SolarSystemObject& object, DistanceExtreme which);

/// The orbital period as whole days (terrestrial planets) or whole years (the others); absent for the Sun.
std::optional<OrbitalPeriodDisplay> orbitalPeriodDisplay(const SolarSystemObject& object);

/// True for the bodies whose rotation caption notes retrograde rotation: venus, uranus and pluto.
bool showsRetrogradeNote(const SolarSystemObject& object);

} // namespace heliora
