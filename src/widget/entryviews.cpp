#include "widget/entryviews.h"

#include "views/planetslist.h"
#include "views/planetslistwidgetview.h"
#include "views/solarsystemview.h"
#include "views/theme.h"

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

    constexpr double listOrreryScale = 0.8;
    constexpr double aloneOrreryScale = 0.88;

} // namespace

EntryView::EntryView(Content content, const widgetkit::TimelineEntry& entry, bool showPluto, QWidget* parent)
    : QWidget(parent)
    , m_orrery(new SolarSystemView(this))
{
    // The widgets are dark whatever the desktop: the palette is set on the view itself, so a light application
    // palette in the host does not reach the texts.
    setPalette(blackFieldPalette(darkPalette()));
    setAutoFillBackground(true);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(sideOf(entry.displaySize.width()), sideOf(entry.displaySize.height()));

    const double height = entry.displaySize.height();
    const double displayHeight = std::isfinite(height) ? std::clamp(height, 0.0, largestSide) : 0.0;
    m_orrery->setObjectName(QStringLiteral("orrery"));
    m_orrery->setDiameter((content == Content::orreryAndList ? listOrreryScale : aloneOrreryScale) * displayHeight);
    m_orrery->setShowPluto(showPluto);
    m_orrery->setDate(entry.date);
    m_orrery->resize(m_orrery->sizeHint());
    if (content == Content::orreryAndList) {
        m_list = new PlanetsList(this);
        m_list->setObjectName(QStringLiteral("planets_list"));
    }
    placeContent();
}

void EntryView::placeContent()
{
    if (m_list) {
        placeBesideList(*m_orrery, *m_list, size());
        return;
    }
    const QSize orrerySize = m_orrery->sizeHint();
    m_orrery->setGeometry(
        QRect(QPoint(qRound((width() - orrerySize.width()) / 2.0), qRound((height() - orrerySize.height()) / 2.0)),
            orrerySize));
}

void EntryView::resizeEvent(QResizeEvent*) { placeContent(); }

} // namespace heliora
