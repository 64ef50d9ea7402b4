#pragma once

#include "model/orbit.h"
#include "model/planet.h"

#include <QPointF>
#include <QRectF>

#include <optional>
#include <vector>

namespace heliora {

/// What an orrery is drawn from. The click callbacks are not here: they change what a click does, never the
/// picture. Lengths are logical pixels, the date is seconds since 1970.
///
/// Bad values have a fixed meaning: a diameter, line width or minimum length that is negative or not finite
/// counts as 0 (a line width of 0 draws no rings); a date or preset period that is not finite counts as 0.
struct OrreryInputs {
    double diameter = 400; ///< side D of the square that the outermost ring fills
    double lineWidth = 1; ///< stroke width of the rings, inked inside each ring's circle
    double date = 0;
    bool showPluto = false;
    bool showOnlyInnerPlanets = false; ///< Mercury to Mars only; wins over showPluto
    double presetPeriod = heliora::presetPeriod; ///< handed to the orbital model unchanged
    double minLength = 8; ///< the smallest side of the Sun's and the planets' image squares
};

/// One ring of the orrery with its planet. Coordinates are those of the layout (see OrreryLayout).
struct OrrerySlot {
    int index = 0; ///< 1 = innermost ring ... ringCount - 1 = outermost
    Planet planet = Planet::mercury;
    double ringDiameter = 0;
    double ringRadius = 0;
    /// The ring's circle inset by half the stroke: stroking this ellipse with `strokeWidth` inks exactly the
    /// radii ringRadius − strokeWidth ... ringRadius.
    QRectF strokeRect;
    double strokeWidth = 0;
    /// The unwrapped orbital angle in degrees (about 1.1e15 with the preset period, so only good for comparing
    /// and subtracting; never take its sine).
    double nu = 0;
    /// The direction of the planet on screen in degrees, [0, 360), counter-clockwise from the right of the Sun.
    double phi = 0;
    QPointF centre; ///< C + (r·cos φ, −r·sin φ)
    QRectF square; ///< the image square around the centre
    QRectF imageRect; ///< the picture fitted into the square: what is drawn and what takes clicks
};

/// The orrery as data: everything that painting, hit-testing and accessibility need, computed by layoutOrrery.
/// The D × D square of the outermost ring has its top-left corner at (0, 0); pictures may reach `margin`
/// beyond it on every side.
struct OrreryLayout {
    double diameter = 0;
    double lineWidth = 0;
    int ringCount = 0; ///< rings plus one: the Sun's slot counts
    QPointF centre; ///< C, the middle of the D × D square
    QRectF sunSquare;
    QRectF sunImageRect;
    double margin = 0; ///< how far any picture can stick out of the D × D square, whatever the angles
    std::vector<OrrerySlot> rings; ///< in drawing order, back to front: the outermost ring first

    /// The D × D square grown by the margin: everything the orrery may ever draw.
    QRectF bounds() const;
    /// The slot of the planet, or null when the planet is not shown.
    const OrrerySlot* slot(Planet planet) const;
    /// The drawn picture of the body; an empty rectangle when the body is not shown.
    QRectF imageRect(const SolarSystemObject& body) const;
    /// The frontmost body whose picture contains the point, if any.
    std::optional<SolarSystemObject> bodyAt(const QPointF& point) const;
    /// The bodies shown, the Sun first, then the planets in their fixed order.
    std::vector<SolarSystemObject> bodies() const;
};

/// The planets shown for these inputs, in their fixed order.
std::vector<Planet> shownPlanets(const OrreryInputs& inputs);

/// Lays the orrery out for `inputs`, with every planet at its orbital angle for `inputs.date`; `epoch` is the
/// reference epoch of the orbital model (seconds since 1970, see referenceEpoch). Pure: no state, no clock.
OrreryLayout layoutOrrery(const OrreryInputs& inputs, double epoch);

/// Puts a slot's planet at the unwrapped angle `nu` plus `extraDegrees`. The extra angle is what an animation
/// adds on its way to `nu`; it is kept apart so that it is not rounded away by the size of `nu`.
/// A `nu` that is not finite counts as 0.
void placePlanet(OrrerySlot& slot, const QPointF& centre, double nu, double extraDegrees = 0);

} // namespace heliora
