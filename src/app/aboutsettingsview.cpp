#include "app/aboutsettingsview.h"

#include "app/infoview.h"
#include "app/product.h"
#include "clock/calendarday.h"
#include "model/environment.h"
#include "settings/sharedsettings.h"
#include "views/accessibility.h"
#include "views/solarsystemview.h"

#include <QGraphicsOpacityEffect>
#include <QVBoxLayout>

namespace heliora {

namespace {
    QString fromView(std::string_view text)
    {
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
} // namespace

AboutSettingsView::AboutSettingsView(QWidget* parent)
    : QWidget(parent)
    , m_settings(new SharedSettings(this))
    , m_orrery(new SolarSystemView(this))
    , m_info(
          new InfoView(fromView(product::applicationName), fromView(product::version), fromView(product::build), this))
{
    m_orrery->setObjectName(QStringLiteral("orrery"));
    m_orrery->setDiameter(orreryDiameter);
    m_orrery->setShowPluto(m_settings->showPluto());
    // 9 January 1991 exists in every zone; were its start not to be had, the orrery shows 1970 rather than now.
    m_orrery->setDate(startOfDay(QDate(1991, 1, 9), *userTimeZone()).value_or(0));
    m_orrery->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* fade = new QGraphicsOpacityEffect(m_orrery);
    fade->setOpacity(orreryOpacity);
    m_orrery->setGraphicsEffect(fade);
    hideFromAccessibility(m_orrery);
    m_orrery->lower();

    m_info->setObjectName(QStringLiteral("info"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_info);
    layout->addStretch();

    connect(m_settings, &SharedSettings::showPlutoChanged, m_orrery, &SolarSystemView::setShowPluto);
}

void AboutSettingsView::resizeEvent(QResizeEvent*)
{
    // Behind the block, centred in the whole tab; not part of the layout, which only places the block.
    QRect frame(QPoint(0, 0), m_orrery->sizeHint());
    frame.moveCenter(rect().center());
    m_orrery->setGeometry(frame);
}

} // namespace heliora
