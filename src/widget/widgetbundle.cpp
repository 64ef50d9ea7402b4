#include "widget/widgetbundle.h"

#include "settings/sharedsettings.h"
#include "widget/entryviews.h"
#include "widget/widgetstrings.h"

namespace heliora {

HelioraWidget::HelioraWidget(Kind kind, WidgetClock now)
    : m_kind(kind)
    , m_provider(std::move(now))
{
}

QString HelioraWidget::kind() const
{
    return m_kind == Kind::planetsList ? QStringLiteral("PlanetsListWidget") : QStringLiteral("SolarSystemWidget");
}

QList<widgetkit::WidgetFamily> HelioraWidget::supportedFamilies() const
{
    using widgetkit::WidgetFamily;
    if (m_kind == Kind::planetsList)
        return { WidgetFamily::medium };
    return { WidgetFamily::small, WidgetFamily::large };
}

QString HelioraWidget::displayName() const
{
    return widgetText(
        m_kind == Kind::planetsList ? "planetslist_widget_display_name" : "solarsystem_widget_display_name");
}

QString HelioraWidget::description() const
{
    return widgetText(
        m_kind == Kind::planetsList ? "planetslist_widget_description" : "solarsystem_widget_description");
}

QWidget* HelioraWidget::makeEntryView(
    const widgetkit::TimelineEntry& entry, widgetkit::WidgetFamily, QWidget* parent) const
{
    // A fresh holder per view: nothing of the setting is kept between two pictures. The family does not change
    // the picture: its display size says all.
    const EntryView::Content content
        = m_kind == Kind::planetsList ? EntryView::Content::orreryAndList : EntryView::Content::orreryAlone;
    return new EntryView(content, entry, SharedSettings().showPluto(), parent);
}

HelioraWidgetBundle::HelioraWidgetBundle(WidgetClock now)
    : m_planetsList(HelioraWidget::Kind::planetsList, now)
    , m_solarSystem(HelioraWidget::Kind::solarSystem, now)
{
}

QList<const widgetkit::WidgetConfiguration*> HelioraWidgetBundle::widgets() const
{
    return { &m_planetsList, &m_solarSystem };
}

} // namespace heliora
