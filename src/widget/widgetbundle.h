#pragma once

#include "widget-interface/widgetextension.h"
#include "widget/momentprovider.h"

#include <string_view>

namespace heliora {

/// One of Heliora's two desktop widgets: its kind, families, gallery keys, its MomentProvider and its entry view.
/// The entry view reads the shared "show_pluto" setting through a SharedSettings holder made for that view
/// alone, so a changed setting shows at the next view the host builds.
class HelioraWidget : public widgetkit::WidgetConfiguration {
public:
    enum class Kind { planetsList, solarSystem };

    explicit HelioraWidget(Kind kind, WidgetClock now = systemNow);

    QString kind() const override;
    QList<widgetkit::WidgetFamily> supportedFamilies() const override;
    QString displayName() const override;
    QString description() const override;
    const widgetkit::TimelineProvider& provider() const override { return m_provider; }
    QWidget* makeEntryView(
        const widgetkit::TimelineEntry& entry, widgetkit::WidgetFamily family, QWidget* parent) const override;

private:
    Kind m_kind;
    MomentProvider m_provider;
};

/// Heliora's widget bundle: PlanetsListWidget (medium) and SolarSystemWidget (small, large), in that order.
/// The plug-in's root object is one of these; tests build it directly, with their own clock.
class HelioraWidgetBundle : public widgetkit::WidgetBundle {
public:
    explicit HelioraWidgetBundle(WidgetClock now = systemNow);

    QList<const widgetkit::WidgetConfiguration*> widgets() const override;

private:
    HelioraWidget m_planetsList;
    HelioraWidget m_solarSystem;
};

} // namespace heliora
