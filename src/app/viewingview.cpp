#include "app/viewingview.h"

#include "app/settingsform.h"
#include "settings/sharedsettings.h"
#include "strings/stringtable.h"
#include "views/fittinglabel.h"
#include "views/planetslistwidgetview.h"
#include "views/theme.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <QSignalBlocker>

namespace heliora {

ViewingView::ViewingView(std::function<double()> now, QWidget* parent)
    : QWidget(parent)
    , m_settings(new SharedSettings(this))
    , m_showPluto(new QCheckBox(text("show_pluto"), this))
    , m_notSaved(new QLabel(text("setting_not_saved"), this))
{
    m_showPluto->setObjectName(QStringLiteral("show_pluto"));
    m_showPluto->setChecked(m_settings->showPluto());

    m_notSaved->setObjectName(QStringLiteral("setting_not_saved"));
    m_notSaved->setTextFormat(Qt::PlainText);
    m_notSaved->setWordWrap(true);
    QPalette gray = m_notSaved->palette();
    gray.setColor(QPalette::WindowText, colors::gray);
    m_notSaved->setPalette(gray);
    m_notSaved->hide();

    auto* preview = new PlanetsListWidgetView(std::move(now), this);
    preview->setObjectName(QStringLiteral("planets_list_widget"));
    auto* centred = new QHBoxLayout;
    centred->addStretch();
    centred->addWidget(preview);
    centred->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(settingsform::padding, settingsform::padding, settingsform::padding, 0);
    layout->setSpacing(6);
    layout->addWidget(m_showPluto);
    layout->addWidget(settingsform::noteForKey("pluto_was_classified_as_dwarf_planet", this));
    layout->addWidget(m_notSaved);
    settingsform::addDivider(layout, this);
    layout->addLayout(centred);
    layout->addStretch();

    connect(m_showPluto, &QCheckBox::toggled, this, &ViewingView::toggled);
    connect(m_settings, &SharedSettings::showPlutoChanged, this, [this](bool on) {
        const QSignalBlocker quiet(m_showPluto);
        m_showPluto->setChecked(on);
    });
}

void ViewingView::toggled(bool on)
{
    if (m_settings->setShowPluto(on)) {
        m_notSaved->hide();
        return;
    }
    // Nothing was stored: show what is, and say so.
    const QSignalBlocker quiet(m_showPluto);
    m_showPluto->setChecked(m_settings->showPluto());
    // The store's own line says why, for whoever points at the short one.
    m_notSaved->setToolTip(m_settings->lastError());
    m_notSaved->show();
}

} // namespace heliora
