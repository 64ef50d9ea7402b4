#pragma once

#include "model/planet.h"

#include <QWidget>

namespace heliora {

/// All ten bodies grouped by kind (the Sun; terrestrial planets; gas giants; ice giants; dwarf planets), each row
/// with the body's picture, its name and a button that opens the body's fact window. Stateless.
///
/// Each row is named after the body's key ("sun", "mars", ...) and holds the button "open_fact_sheet". The
/// geometry is fixed, so that a script can click a row's button without reading the screen: rows of rowHeight
/// under section headers of headerHeight (the Sun's section has an untitled one of the same height), inside
/// margins of `margin`, with the button at the right end of its row.
class SolarSystemListView : public QWidget {
    Q_OBJECT
public:
    explicit SolarSystemListView(QWidget* parent = nullptr);

    static constexpr int margin = 16;
    static constexpr int headerHeight = 30;
    static constexpr int rowHeight = 40;

private:
    QWidget* makeRow(const SolarSystemObject& object);
};

} // namespace heliora
