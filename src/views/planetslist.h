#pragma once

#include "model/planet.h"

#include <QWidget>

namespace heliora {

class FittingLabel;

/// One row of the planets list: the planet's picture in an 18 × 18 frame and its localized name, 10 pixels
/// bold, on one line. A name too long for the 78-pixel row shrinks down to 70 % of that size and is then cut
/// with an ellipsis. No interaction. Named after the planet's key ("mars").
class PlanetsListRow : public QWidget {
    Q_OBJECT
public:
    explicit PlanetsListRow(Planet planet, QWidget* parent = nullptr);

    static constexpr int rowWidth = 78;
    static constexpr int imageSide = 18;
    static constexpr int namePixelSize = 10;
    static constexpr double nameMinimumScale = 0.7;

    Planet planet() const { return m_planet; }

private:
    Planet m_planet;
};

/// The compact list of the eight planets beside the orrery of the planets-list widget and its preview: two
/// columns, Mercury to Mars and Jupiter to Neptune, each a PlanetsListRow. Pluto is never listed, whatever the
/// Pluto setting. Takes no input and has no interaction; the desktop widgets build it too.
class PlanetsList : public QWidget {
    Q_OBJECT
public:
    explicit PlanetsList(QWidget* parent = nullptr);
};

} // namespace heliora
