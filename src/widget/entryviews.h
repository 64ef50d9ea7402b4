#pragma once

#include "widget-interface/widgetextension.h"

#include <QWidget>

namespace heliora {

class PlanetsList;
class SolarSystemView;

/// A widget that is one desktop widget's picture of a timeline entry: the entry's display size, opaque black over
/// all of it, in Heliora's dark palette whatever the desktop's, taking no clicks (the host handles those). The
/// planets-list widget shows the orrery at 0.8 H beside the PlanetsList, 22 apart, the pair centred; the
/// solar-system widget the orrery alone at 0.88 H, centred (its padding of 16 surrounds the square equally, so
/// it does not move it). H is the display height; the width never enters. The view owns its children, found by
/// object name: "orrery" (a SolarSystemView) and, beside it, "planets_list".
class EntryView : public QWidget {
    Q_OBJECT
public:
    enum class Content { orreryAndList, orreryAlone };

    EntryView(Content content, const widgetkit::TimelineEntry& entry, bool showPluto, QWidget* parent = nullptr);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeContent();

    SolarSystemView* m_orrery;
    PlanetsList* m_list = nullptr;
};

} // namespace heliora
