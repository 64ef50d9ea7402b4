#pragma once

#include "model/planet.h"

#include <QWidget>

namespace heliora {

/// A widget that shows the picture of the Sun or a planet, fitted into a square frame with its aspect ratio kept and
/// centred. The Sun's picture is in addition drawn at 80 % of the frame about its centre, so that its glow does not
/// outweigh the planets beside it. Used by the fact window's header and the rows of the bodies list. Assistive
/// technologies see a picture named with the body's localized name.
class BodyImage : public QWidget {
    Q_OBJECT
public:
    BodyImage(const SolarSystemObject& object, int side, QWidget* parent = nullptr);

    const SolarSystemObject& object() const { return m_object; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SolarSystemObject m_object;
    int m_side;
};

} // namespace heliora
