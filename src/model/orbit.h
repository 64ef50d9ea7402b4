#pragma once

#include "model/planet.h"

#include <unicode/timezone.h>

namespace heliora {

/// Fixed orbital constants of one planet. Periods in seconds, angles in degrees, distances in millions of km.
struct OrbitalElements {
    double period;
    double meanLongitude;
    double perihelionLongitude;
    double semiMajorAxis;
    double semiMinorAxis;
    double perihelionDistance;
};

const OrbitalElements& orbitalElements(Planet p);

/// The offset, in orbital periods, that every orrery passes: the seconds of 99,999 years of 365 days. It keeps
/// the phase positive for any reachable date, so the unwrapped angle never steps back by a turn.
inline constexpr double presetPeriod = 3153568464000.0;

inline constexpr double radiansPerDegree = 0.017453292519943295;

/// Instant (seconds since 1970) of 2000-01-01 11:58:55 local time in the given zone, Gregorian calendar. The
/// epochs of the last few zones asked for are kept (per thread), as they depend on the zone's rules alone.
double referenceEpoch(const icu::TimeZone& zone);
/// The same in the user's time zone (currentTimeZone()).
double referenceEpoch();

/// The inner step of the orbital model: the angle, in degrees, of a planet at phase time `time` on a ring of
/// radius `radius`, starting from `startAngle`. With `addTurns` the whole turns of the phase are added.
/// A phase whose turn count is not representable (not finite, or beyond the 64-bit range) adds no turns.
double orbitPhaseAngle(bool addTurns, Planet planet, double time, double radius, double startAngle);

/// The unwrapped angle in degrees of the planet at `date` (seconds since 1970), relative to its perihelion.
/// The epoch is taken in the given zone, or, in the overload without one, the user's zone.
double orbitalAngle(Planet planet, double date, double presetPeriod, double radius, const icu::TimeZone& zone);
double orbitalAngle(Planet planet, double date, double presetPeriod, double radius);
/// The same with the epoch already computed (for callers that place several planets at once).
double orbitalAngleFromEpoch(Planet planet, double date, double presetPeriod, double radius, double epoch);

/// The planet's direction on screen, in degrees in [0, 360), counter-clockwise from the positive x axis:
/// its perihelion longitude plus the unwrapped angle. The whole turns are removed from the angle before the
/// longitude is added, so no precision is lost to the angle's size (about 1.1e15 degrees with the preset).
double screenAngle(Planet planet, double unwrappedAngle);

} // namespace heliora
