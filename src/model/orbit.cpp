#include "model/orbit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/currentenvironment.h"
#include "model/int64range.h"

#include <unicode/gregocal.h>

namespace heliora {

namespace {

    constexpr double pi = 3.141592653589793;

    constexpr std::array<OrbitalElements, planetCount> elements { {
        { 7600543.81992, 252.25084, 77.45645, 57.909, 56.67183861837401, 46.002 },
        { 19414149.052176, 181.97973, 131.53298, 108.209, 108.20657122173773, 107.476 },
        { 31558149.102239996, 100.46435, 102.94719, 149.596, 149.57513813113692, 147.092 },
        { 59354032.690079994, 355.45332, 336.04084, 227.923, 226.92453307443247, 206.617 },
        { 374355659.12399995, 34.40438, 14.75385, 778.57, 777.6385806770924, 740.522 },
        { 929292362.8848001, 49.94432, 92.43194, 1433.529, 1431.239079564456, 1352.555 },
        { 2651370019.3296, 313.23218, 170.96424, 2872.463, 2869.4618771017776, 2741.302 },
        { 5200418560.032, 304.88003, 44.97135, 4495.06, 4494.77300373237, 4444.449 },
        { 7826941198.08, 238.92881, 224.06676, 5869.656, 5691.65575922902, 4434.987 },
    } };

    // Whether θ/π, the phase in half-turns, fits a signed 64-bit count. A phase that does not (or NaN and
    // infinities) counts no turns, so the angle stays defined without its turn count.
    bool halfTurnsFit(double theta) { return fitsInt64(theta / pi); }

    // The turn count comes from θ/π rounded to a double, while sin θ and cos θ reduce θ exactly. Near the end
    // of a turn the two can disagree by up to about a thousandth of a turn at the preset's phases (~2e13 rad),
    // which would put the planet a whole turn ahead for a while and then make it jump back. Align the count with
    // the phase that sine and cosine saw. Only positive phases are aligned: below zero the count truncates toward
    // zero by design.
    std::int64_t alignedTurns(double theta, double sinTheta, double cosTheta, std::int64_t turns)
    {
        if (!(theta > 0))
            return turns;
        const double fraction = (theta / pi) / 2.0 - static_cast<double>(turns);
        double phase = std::atan2(sinTheta, cosTheta) / (2.0 * pi);
        if (phase < 0)
            phase += 1.0;
        if (fraction > 0.75 && phase < 0.25)
            return turns + 1;
        if (fraction < 0.25 && phase > 0.75)
            return turns - 1;
        return turns;
    }

} // namespace

const OrbitalElements& orbitalElements(Planet p) { return elements.at(indexOf(p)); }

double screenAngle(Planet planet, double unwrappedAngle)
{
    double angle = std::fmod(std::fmod(unwrappedAngle, 360.0) + orbitalElements(planet).perihelionLongitude, 360.0);
    if (angle < 0)
        angle += 360.0;
    return angle;
}

double referenceEpoch(const icu::TimeZone& zone)
{
    // Every orrery frame and every new date needs the epoch, and building a calendar for it costs more than the nine
    // orbital angles together. It depends on the zone's rules alone: keep the last few zones' epochs.
    struct Known {
        std::unique_ptr<icu::TimeZone> zone;
        double epoch;
    };
    constexpr std::size_t kept = 8;
    thread_local std::vector<Known> known;
    for (auto it = known.begin(); it != known.end(); ++it) {
        if (*it->zone == zone) {
            std::rotate(known.begin(), it, it + 1);
            return known.front().epoch;
        }
    }
    UErrorCode status = U_ZERO_ERROR;
    icu::GregorianCalendar calendar(zone, status);
    calendar.clear();
    calendar.set(2000, UCAL_JANUARY, 1, 11, 58, 55);
    const UDate millis = calendar.getTime(status);
    // The components are valid in every zone; a failure would mean ICU itself is broken.
    const double epoch = U_FAILURE(status) ? 946727935.0 : millis / 1000.0;
    std::unique_ptr<icu::TimeZone> copy(zone.clone());
    if (!copy)
        return epoch;
    if (known.size() == kept)
        known.pop_back();
    known.insert(known.begin(), Known { std::move(copy), epoch });
    return epoch;
}

double referenceEpoch() { return referenceEpoch(currentTimeZone()); }

double orbitPhaseAngle(bool addTurns, Planet planet, double time, double radius, double startAngle)
{
    const OrbitalElements& e = orbitalElements(planet);
    // The ellipse is scaled so that its perihelion lies at `radius` from the focus that holds the Sun.
    const double scale = radius / e.perihelionDistance;
    const double a = e.semiMajorAxis * scale;
    const double b = e.semiMinorAxis * scale;
    // The phase is used directly as the eccentric anomaly; every operation keeps this order.
    const double theta = ((360.0 / e.period) * time + startAngle) * pi / 180.0;
    const double sinTheta = std::sin(theta);
    const double cosTheta = std::cos(theta);
    const double x = cosTheta * a - (a - radius);
    const double y = sinTheta * b;
    double v = std::atan2(y, x) * 180.0 / pi;
    if (v <= 0)
        v = v + 360.0;
    if (addTurns) {
        std::int64_t turns = 0;
        if (halfTurnsFit(theta))
            turns = alignedTurns(theta, sinTheta, cosTheta, static_cast<std::int64_t>(theta / pi) / 2);
        v = v + static_cast<double>(turns) * 360.0;
    }
    return v;
}

double orbitalAngleFromEpoch(Planet planet, double date, double presetPeriod, double radius, double epoch)
{
    const OrbitalElements& e = orbitalElements(planet);
    const double offset = e.period * presetPeriod;
    const double start
        = orbitPhaseAngle(false, planet, offset - epoch, radius, e.meanLongitude - e.perihelionLongitude);
    return orbitPhaseAngle(true, planet, offset + date, radius, start);
}

double orbitalAngle(Planet planet, double date, double presetPeriod, double radius, const icu::TimeZone& zone)
{
    return orbitalAngleFromEpoch(planet, date, presetPeriod, radius, referenceEpoch(zone));
}

double orbitalAngle(Planet planet, double date, double presetPeriod, double radius)
{
    return orbitalAngleFromEpoch(planet, date, presetPeriod, radius, referenceEpoch());
}

} // namespace heliora
