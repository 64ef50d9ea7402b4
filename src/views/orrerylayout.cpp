#include "views/orrerylayout.h"

#include "artwork/artwork.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace heliora {

namespace {

    double finiteOr(double value, double fallback) { return std::isfinite(value) ? value : fallback; }

    double nonNegative(double value) { return std::isfinite(value) && value > 0 ? value : 0.0; }

    // The pictures' own proportions never change while the program runs; read them once instead of asking the
    // SVG documents on every frame.
    QSizeF naturalSizeOf(const SolarSystemObject& body)
    {
        static const std::array<QSizeF, planetCount + 1> sizes = [] {
            std::array<QSizeF, planetCount + 1> result;
            result[0] = artwork::naturalSize(SolarSystemObject::sun().imageName());
            for (const Planet p : allPlanets)
                result[indexOf(p) + 1] = artwork::naturalSize(imageName(p));
            return result;
        }();
        const auto planet = body.asPlanet();
        return sizes[planet ? indexOf(*planet) + 1 : 0];
    }

    QRectF squareAround(const QPointF& centre, double side)
    {
        return QRectF(centre.x() - side / 2, centre.y() - side / 2, side, side);
    }

} // namespace

std::vector<Planet> shownPlanets(const OrreryInputs& inputs)
{
    if (inputs.showOnlyInnerPlanets)
        return { innerPlanets.begin(), innerPlanets.end() };
    if (inputs.showPluto)
        return { allPlanets.begin(), allPlanets.end() };
    return { eightPlanets.begin(), eightPlanets.end() };
}

void placePlanet(OrrerySlot& slot, const QPointF& centre, double nu, double extraDegrees)
{
    nu = finiteOr(nu, 0.0);
    extraDegrees = finiteOr(extraDegrees, 0.0);
    // screenAngle drops the whole turns before adding the perihelion longitude, so the sine and cosine below
    // see an angle below 360 degrees plus the animation's extra, never the raw 1e15-degree value.
    double phi = std::fmod(screenAngle(slot.planet, nu) + extraDegrees, 360.0);
    if (phi < 0)
        phi += 360.0;
    const double radians = phi * radiansPerDegree;
    slot.nu = nu + extraDegrees;
    slot.phi = phi;
    // Screen y grows downward, so a counter-clockwise angle subtracts from y.
    slot.centre
        = QPointF(centre.x() + slot.ringRadius * std::cos(radians), centre.y() - slot.ringRadius * std::sin(radians));
    slot.square.moveCenter(slot.centre);
    slot.imageRect.moveCenter(slot.centre);
}

OrreryLayout layoutOrrery(const OrreryInputs& inputs, double epoch)
{
    const double d = nonNegative(inputs.diameter);
    const double w = nonNegative(inputs.lineWidth);
    const double m = nonNegative(inputs.minLength);
    const double date = finiteOr(inputs.date, 0.0);
    const double preset = finiteOr(inputs.presetPeriod, 0.0);
    const std::vector<Planet> planets = shownPlanets(inputs);

    OrreryLayout layout;
    layout.diameter = d;
    layout.lineWidth = w;
    layout.ringCount = static_cast<int>(planets.size()) + 1;
    layout.centre = QPointF(d / 2, d / 2);
    const double n = layout.ringCount;

    const double sunSide = std::max(d / n, m);
    layout.sunSquare = squareAround(layout.centre, sunSide);
    layout.sunImageRect = artwork::fittedRect(layout.sunSquare, naturalSizeOf(SolarSystemObject::sun()));
    double reach = sunSide / 2;

    layout.rings.reserve(planets.size());
    for (int i = layout.ringCount - 1; i >= 1; --i) {
        OrrerySlot slot;
        slot.index = i;
        slot.planet = planets[static_cast<std::size_t>(i - 1)];
        // The fraction first, then times D, so the outermost ring is exactly D.
        slot.ringDiameter = d * ((i + 1) / n);
        slot.ringRadius = slot.ringDiameter * 0.5;
        // A stroke wider than the radius would spill past the centre; at the radius it fills the disc.
        slot.strokeWidth = std::min(w, slot.ringRadius);
        const double inset = slot.strokeWidth / 2;
        slot.strokeRect
            = QRectF(layout.centre.x() - slot.ringRadius + inset, layout.centre.y() - slot.ringRadius + inset,
                slot.ringDiameter - slot.strokeWidth, slot.ringDiameter - slot.strokeWidth);

        const double side = std::max(d * sizeRatio(slot.planet), m);
        slot.square = squareAround(layout.centre, side);
        slot.imageRect = artwork::fittedRect(slot.square, naturalSizeOf(SolarSystemObject::planet(slot.planet)));
        placePlanet(slot, layout.centre, orbitalAngleFromEpoch(slot.planet, date, preset, slot.ringRadius, epoch));
        reach = std::max(reach, slot.ringRadius + side / 2);
        layout.rings.push_back(slot);
    }
    layout.margin = std::max(0.0, reach - d / 2);
    return layout;
}

QRectF OrreryLayout::bounds() const { return QRectF(-margin, -margin, diameter + 2 * margin, diameter + 2 * margin); }

const OrrerySlot* OrreryLayout::slot(Planet planet) const
{
    const auto it
        = std::find_if(rings.begin(), rings.end(), [planet](const OrrerySlot& s) { return s.planet == planet; });
    return it == rings.end() ? nullptr : &*it;
}

QRectF OrreryLayout::imageRect(const SolarSystemObject& body) const
{
    if (body.isSun())
        return sunImageRect;
    const OrrerySlot* s = slot(*body.asPlanet());
    return s ? s->imageRect : QRectF();
}

std::optional<SolarSystemObject> OrreryLayout::bodyAt(const QPointF& point) const
{
    // Front to back: the innermost planet is drawn last, the Sun first.
    for (auto it = rings.rbegin(); it != rings.rend(); ++it) {
        if (it->imageRect.contains(point))
            return SolarSystemObject::planet(it->planet);
    }
    if (sunImageRect.contains(point))
        return SolarSystemObject::sun();
    return std::nullopt;
}

std::vector<SolarSystemObject> OrreryLayout::bodies() const
{
    std::vector<SolarSystemObject> result { SolarSystemObject::sun() };
    for (auto it = rings.rbegin(); it != rings.rend(); ++it)
        result.push_back(SolarSystemObject::planet(it->planet));
    return result;
}

} // namespace heliora
