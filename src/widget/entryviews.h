#pragma once

#include "widget-interface/widgetextension.h"

#include <QWidget>

namespace heliora {

class PlanetsList;
class SolarSystemView;

/// The base of both widgets' entry views: a widget the size of the entry's display size, opaque black over all
/// of it, in Heliora's dark palette whatever the desktop's, that takes no clicks (the host handles those).
/// Subclasses place their content in placeContent(), centred in whatever size the view has.
class EntryView : public QWidget {
    Q_OBJECT
public:
    const widgetkit::TimelineEntry& entry() const { return m_entry; }
    widgetkit::WidgetFamily family() const { return m_family; }

protected:
    EntryView(const widgetkit::TimelineEntry& entry, widgetkit::WidgetFamily family, QWidget* parent);

    /// H, the display height: the one length the layouts read (the width never enters).
    double displayHeight() const;
    /// A new orrery for the entry: its date, the Pluto switch, no click targets, the given diameter.
    SolarSystemView* makeOrrery(double diameter, bool showPluto);
    /// Puts the orrery so that its D × D square is centred on `centre` (view coordinates).
    static void centreOrrery(SolarSystemView* orrery, const QPointF& centre);

    virtual void placeContent() = 0;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    widgetkit::TimelineEntry m_entry;
    widgetkit::WidgetFamily m_family;
};

/// The planets-list widget's picture: the orrery at 0.8 H beside the PlanetsList, 22 apart, the pair centred.
/// Children by object name: "orrery" (a SolarSystemView) and "planets_list".
class PlanetsListWidgetEntryView : public EntryView {
    Q_OBJECT
public:
    PlanetsListWidgetEntryView(const widgetkit::TimelineEntry& entry, bool showPluto, widgetkit::WidgetFamily family,
        QWidget* parent = nullptr);

    static constexpr double orreryScale = 0.8;
    static constexpr int spacing = 22;

protected:
    void placeContent() override;

private:
    SolarSystemView* m_orrery;
    PlanetsList* m_list;
};

/// The solar-system widget's picture: the orrery alone at 0.88 H, centred, with the default padding of 16
/// around its square (which, centred, does not move it). Child by object name: "orrery".
class SolarSystemWidgetEntryView : public EntryView {
    Q_OBJECT
public:
    SolarSystemWidgetEntryView(const widgetkit::TimelineEntry& entry, bool showPluto, widgetkit::WidgetFamily family,
        QWidget* parent = nullptr);

    static constexpr double orreryScale = 0.88;
    static constexpr int padding = 16;

protected:
    void placeContent() override;

private:
    SolarSystemView* m_orrery;
};

} // namespace heliora
