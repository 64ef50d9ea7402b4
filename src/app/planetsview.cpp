#include "app/planetsview.h"

#include "app/detailwindowcontroller.h"
#include "app/glyphbutton.h"
#include "clock/datetexts.h"
#include "clock/rotationstate.h"
#include "settings/sharedsettings.h"
#include "strings/stringtable.h"
#include "views/fittinglabel.h"
#include "views/solarsystemview.h"
#include "views/theme.h"

#include <QBoxLayout>
#include <QLabel>

namespace heliora {

namespace {

    constexpr int padding = 16; // the space around texts and buttons
    constexpr int clockFontPixels = 34;
    constexpr int speedFontPixels = 18;
    constexpr int clockButtonSide = 32;
    constexpr int captionRowHeight = 42;

    QFont clockFont(const QFont& base, int pixels, QFont::Weight weight)
    {
        QFont font = base;
        font.setPixelSize(pixels);
        font.setWeight(weight);
        return font;
    }

    FittingLabel* clockText(QWidget* parent)
    {
        auto* label = new FittingLabel(parent);
        label->setFont(clockFont(parent->font(), clockFontPixels, QFont::Bold));
        label->setMinimumScaleFactor(0.7);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return label;
    }

    GlyphButton* clockButton(const char* glyph, const char* key, QWidget* parent)
    {
        auto* button = new GlyphButton(glyph, clockButtonSide, parent);
        button->setToolTip(heliora::text(key));
        button->setAccessibleName(heliora::text(key));
        return button;
    }

} // namespace

PlanetsView::PlanetsView(RotationState& rotation, QWidget* parent)
    : QWidget(parent)
    , m_rotation(rotation)
    , m_settings(new SharedSettings(this))
    , m_orrery(new SolarSystemView(this))
    , m_date(clockText(this))
    , m_caption(clockText(this))
    , m_speed(new QLabel(this))
    , m_backward(clockButton("backward.fill", "backward", this))
    , m_playPause(clockButton("pause.fill", "pause", this))
    , m_forward(clockButton("forward.fill", "forward", this))
{
    setFixedSize(500, 700);
    setAutoFillBackground(true);
    setPalette(blackFieldPalette(palette()));

    m_orrery->setDiameter(orreryDiameter);
    m_orrery->setShowPluto(m_settings->showPluto());
    m_orrery->setDate(m_rotation.date());
    m_orrery->setOnTapSun([] { openDetailWindow(SolarSystemObject::sun()); });
    m_orrery->setOnTapPlanet([](Planet planet) { openDetailWindow(SolarSystemObject::planet(planet)); });
    m_orrery->lower();

    m_speed->setFont(clockFont(font(), speedFontPixels, QFont::DemiBold));
    QPalette white = m_speed->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    m_speed->setPalette(white);

    // Rows are plain layouts, not widgets: nothing but the texts and buttons covers the orrery's clicks.
    auto* dateRow = new QHBoxLayout;
    dateRow->setContentsMargins(padding, padding, padding, padding);
    dateRow->addWidget(m_date, 1);

    auto* captionRow = new QHBoxLayout;
    captionRow->setContentsMargins(padding, padding, padding, padding);
    captionRow->addWidget(m_caption, 1);
    captionRow->addSpacing(padding);
    captionRow->addWidget(m_speed);
    m_caption->setFixedHeight(captionRowHeight);
    m_speed->setFixedHeight(captionRowHeight);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->setContentsMargins(padding, padding, padding, padding);
    buttonRow->setSpacing(2 * padding);
    buttonRow->addStretch();
    buttonRow->addWidget(m_backward);
    buttonRow->addWidget(m_playPause);
    buttonRow->addWidget(m_forward);
    buttonRow->addStretch();

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(dateRow);
    column->addStretch();
    column->addLayout(captionRow);
    column->addLayout(buttonRow);

    connect(m_backward, &QAbstractButton::clicked, &m_rotation, &RotationState::slower);
    connect(m_playPause, &QAbstractButton::clicked, &m_rotation, &RotationState::togglePlayPause);
    connect(m_forward, &QAbstractButton::clicked, &m_rotation, &RotationState::faster);
    connect(&m_rotation, &RotationState::changed, this, &PlanetsView::clockChanged);
    connect(m_settings, &SharedSettings::showPlutoChanged, m_orrery, &SolarSystemView::setShowPluto);

    // The heartbeat runs for as long as the view exists, playing or not; a paused clock ignores it.
    m_tick.setTimerType(Qt::PreciseTimer);
    m_tick.setInterval(tickIntervalMs);
    connect(&m_tick, &QTimer::timeout, this, &PlanetsView::tick);
    m_tick.start();

    updateTexts();
}

PlanetsView::~PlanetsView() = default;

bool PlanetsView::openLink(const QString& link)
{
    const std::optional<double> date = parseDateLink(link);
    if (!date)
        return false;
    m_rotation.setDate(*date);
    return true;
}

void PlanetsView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const QSize orrery = m_orrery->sizeHint();
    m_orrery->setGeometry(QRect(QPoint((width() - orrery.width()) / 2, (height() - orrery.height()) / 2), orrery));
}

void PlanetsView::tick()
{
    if (m_rotation.timeState() == TimeState::pause)
        return;
    m_animateNextChange = true;
    m_rotation.advance();
    m_animateNextChange = false;
}

void PlanetsView::clockChanged()
{
    m_orrery->setDate(m_rotation.date(), m_animateNextChange ? tickIntervalMs : 0);
    updateTexts();
}

void PlanetsView::updateTexts()
{
    const bool playing = m_rotation.timeState() == TimeState::play;
    const QColor accent = playing ? colors::orange : colors::gray;
    m_date->setText(displayDateText(m_rotation.date()));
    m_date->setTextColor(accent);
    m_caption->setText(relativeDateText(m_rotation.date()).value_or(QString()));
    m_caption->setTextColor(accent);
    m_speed->setText(
        playing ? heliora::text(TextKey { "%lldx", {}, m_rotation.speedMultiplier() }) : heliora::text("pause"));

    const char* key = playing ? "pause" : "play";
    m_playPause->setGlyph(playing ? "pause.fill" : "play.fill");
    m_playPause->setToolTip(heliora::text(key));
    m_playPause->setAccessibleName(heliora::text(key));
    m_backward->setEnabled(m_rotation.canGoSlower());
    m_forward->setEnabled(m_rotation.canGoFaster());
}

} // namespace heliora
