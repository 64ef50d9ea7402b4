#pragma once

#include "model/planet.h"

#include <QScrollArea>

#include <functional>

namespace heliora {

/// A scrolling list of all ten bodies grouped by kind: the Sun (under a header that shows and says nothing);
/// then "terrestrial_planets", "gas_giants", "ice_giants" and "dwarf_planets", with their texts as written.
/// Each row holds the body's picture (24 × 24; the Sun's at 80 %), its localized name and an "open_fact_sheet"
/// button that asks for the body's fact window. Pluto is always listed. Stateless.
///
/// The list does not open windows itself: every press of a row's button calls `openFactWindow` with the row's
/// body, which is what the list's owner (the settings window) is given to open a fact window; pressing twice
/// asks twice. An empty function makes the buttons do nothing.
///
/// Parts that tests and tools look up by object name: the section headers "terrestrial_planets" ...
/// "dwarf_planets"; the sections "section_0" ... "section_4"; in them one row per body, named after the body's
/// key ("sun", "mars", ...), each holding its button "open_fact_sheet".
class SolarSystemListView : public QScrollArea {
    Q_OBJECT
public:
    using OpenFactWindow = std::function<void(const SolarSystemObject&)>;

    explicit SolarSystemListView(OpenFactWindow openFactWindow, QWidget* parent = nullptr);

    static constexpr int margin = 16;
    static constexpr int headerHeight = 30;
    static constexpr int rowHeight = 40;
    static constexpr int imageSide = 24;

private:
    QWidget* makeRow(const SolarSystemObject& object, QWidget* parent);

    OpenFactWindow m_openFactWindow;
};

} // namespace heliora
