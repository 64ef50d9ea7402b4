#include "widget/entryviews.h"

#include "views/planetslist.h"
#include "views/solarsystemview.h"
#include "views/theme.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace heliora {

namespace {

    // A display size that is negative, not finite or absurdly large gives an empty or bounded view rather than
    // a widget that Qt cannot size.
    constexpr double largestSide = 4096;

    int sideOf(double length)
    {
        if (!std::isfinite(length) || length <= 0)
            return 0;
        return static_cast<int>(std::ceil(std::min(length, largestSide)));
    }

} // namespace

EntryView::EntryView(const widgetkit::TimelineEntry& entry, widgetkit::WidgetFamily family, QWidget* parent)
    : QWidget(parent)
    , m_entry(entry)
    , m_family(family)
{
    // The widgets are dark whatever the desktop: the palette is set on the view itself, so a light application
    // palette in the host does not reach the texts.
    setPalette(darkPalette());
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(sideOf(entry.displaySize.width()), sideOf(entry.displaySize.height()));
}

double EntryView::displayHeight() const
{
    const double height = m_entry.displaySize.height();
    return std::isfinite(height) ? std::clamp(height, 0.0, largestSide) : 0.0;
}

SolarSystemView* EntryView::makeOrrery(double diameter, bool showPluto)
{
    auto* orrery = new SolarSystemView(this);
    orrery->setObjectName(QStringLiteral("orrery"));
    orrery->setDiameter(diameter);
    orrery->setShowPluto(showPluto);
    orrery->setDate(m_entry.date);
    orrery->resize(orrery->sizeHint());
    return orrery;
}

void EntryView::centreOrrery(SolarSystemView* orrery, const QPointF& centre)
{
    const QSize size = orrery->sizeHint();
    orrery->setGeometry(
        QRect(QPoint(qRound(centre.x() - size.width() / 2.0), qRound(centre.y() - size.height() / 2.0)), size));
}

void EntryView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), colors::field);
}

void EntryView::resizeEvent(QResizeEvent*) { placeContent(); }

PlanetsListWidgetEntryView::PlanetsListWidgetEntryView(
    const widgetkit::TimelineEntry& entry, bool showPluto, widgetkit::WidgetFamily family, QWidget* parent)
    : EntryView(entry, family, parent)
    , m_orrery(makeOrrery(orreryScale * displayHeight(), showPluto))
    , m_list(new PlanetsList(this))
{
    m_list->setObjectName(QStringLiteral("planets_list"));
    placeContent();
}

void PlanetsListWidgetEntryView::placeContent()
{
    // By hand rather than with a layout: the orrery's widget is its square plus the margin that planets may
    // stick out by, and it is the square that sits 22 from the list.
    const double diameter = m_orrery->inputs().diameter;
    const QSize listSize = m_list->sizeHint();
    const double left = (width() - (diameter + spacing + listSize.width())) / 2;
    centreOrrery(m_orrery, QPointF(left + diameter / 2, height() / 2.0));
    m_list->setGeometry(
        QRect(QPoint(qRound(left + diameter + spacing), qRound((height() - listSize.height()) / 2.0)), listSize));
}

SolarSystemWidgetEntryView::SolarSystemWidgetEntryView(
    const widgetkit::TimelineEntry& entry, bool showPluto, widgetkit::WidgetFamily family, QWidget* parent)
    : EntryView(entry, family, parent)
    , m_orrery(makeOrrery(orreryScale * displayHeight(), showPluto))
{
    placeContent();
}

void SolarSystemWidgetEntryView::placeContent()
{
    // The padding surrounds the square equally on all sides, so the padded frame and the square share a centre.
    centreOrrery(m_orrery, QPointF(width() / 2.0, height() / 2.0));
}

} // namespace heliora
