#include "app/planetsview.h"

#include "app/glyphbutton.h"
#include "app/keyhint.h"
#include "clock/datetexts.h"
#include "clock/rotationstate.h"
#include "settings/sharedsettings.h"
#include "strings/stringtable.h"
#include "views/fittinglabel.h"
#include "views/solarsystemview.h"
#include "views/theme.h"

#include <QAction>
#include <QBoxLayout>
#include <QLabel>

namespace heliora {

namespace {

    constexpr double orreryDiameter = 400;
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

    FittingLabel* clockText(const char* name, QWidget* parent)
    {
        auto* label = new FittingLabel(parent);
        label->setObjectName(QLatin1String(name));
        label->setFont(clockFont(parent->font(), clockFontPixels, QFont::Bold));
        label->setMinimumScaleFactor(0.7);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return label;
    }

    GlyphButton* clockButton(const char* name, const char* glyph, QWidget* parent)
    {
        auto* button = new GlyphButton(glyph, clockButtonSide, parent);
        button->setObjectName(QLatin1String(name));
        return button;
    }

    // A key of the window: it works whatever has focus in the window. It also fires while the button it stands
    // for is disabled; at either end of the speeds the clock itself refuses the step.
    template <typename Slot> QAction* addKey(QWidget* window, Qt::Key key, RotationState& rotation, Slot slot)
    {
        auto* action = new QAction(window);
        action->setShortcut(QKeySequence(key));
        action->setShortcutContext(Qt::WindowShortcut);
        window->addAction(action);
        QObject::connect(action, &QAction::triggered, &rotation, slot);
        return action;
    }

    void describe(GlyphButton* button, const char* textKey, const QAction* key)
    {
        nameControlWithKey(button, heliora::text(textKey), key->shortcut());
    }

} // namespace

PlanetsView::PlanetsView(RotationState& rotation, OpenBody openBody, QWidget* parent)
    : QWidget(parent)
    , m_rotation(rotation)
    , m_settings(new SharedSettings(this))
    , m_orrery(new SolarSystemView(this))
    , m_date(clockText("date", this))
    , m_caption(clockText("caption", this))
    , m_speed(new QLabel(this))
    , m_backward(clockButton("backward", "backward.fill", this))
    , m_playPause(clockButton("play_pause", "pause.fill", this))
    , m_forward(clockButton("forward", "forward.fill", this))
    , m_playPauseKey(addKey(this, Qt::Key_Space, rotation, &RotationState::togglePlayPause))
{
    setFixedSize(500, 700);
    setAutoFillBackground(true);
    setPalette(blackFieldPalette(palette()));

    m_orrery->setObjectName(QStringLiteral("orrery"));
    m_orrery->setDiameter(orreryDiameter);
    // The orrery paints the black field itself: at top speed its frames are then plain copies of the rings' layer
    // with the pictures over them, and Qt fills nothing beneath.
    m_orrery->setPaintsField(true);
    m_orrery->setShowPluto(m_settings->showPluto());
    m_orrery->setDate(m_rotation.date());
    if (openBody) {
        m_orrery->setOnTapSun([openBody] { openBody(SolarSystemObject::sun()); });
        m_orrery->setOnTapPlanet([openBody](Planet planet) { openBody(SolarSystemObject::planet(planet)); });
    }
    m_orrery->lower();

    m_speed->setObjectName(QStringLiteral("speed"));
    m_speed->setFont(clockFont(font(), speedFontPixels, QFont::DemiBold));
    QPalette white = m_speed->palette();
    white.setColor(QPalette::WindowText, colors::white);
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
    // Without a caption the label is hidden, so that assistive technologies find no nameless text there; it keeps
    // its place, so the speed label stays where it is.
    QSizePolicy keepPlace = m_caption->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    m_caption->setSizePolicy(keepPlace);
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

    // The buttons step the speed backward and forward through the eleven speeds: "slower" and "faster" would
    // be wrong for half of them (from 1x one step back runs time backwards 10000 times as fast).
    describe(m_backward, "backward", addKey(this, Qt::Key_Left, m_rotation, &RotationState::slower));
    describe(m_forward, "forward", addKey(this, Qt::Key_Right, m_rotation, &RotationState::faster));
    connect(m_backward, &QAbstractButton::clicked, &m_rotation, &RotationState::slower);
    connect(m_playPause, &QAbstractButton::clicked, &m_rotation, &RotationState::togglePlayPause);
    connect(m_forward, &QAbstractButton::clicked, &m_rotation, &RotationState::faster);

    // One handler per field: reset assigns all three and each part of the view is rebuilt once.
    connect(&m_rotation, &RotationState::dateChanged, this, &PlanetsView::dateChanged);
    connect(&m_rotation, &RotationState::timeStateChanged, this, &PlanetsView::timeStateChanged);
    connect(&m_rotation, &RotationState::speedChanged, this, &PlanetsView::speedChanged);
    connect(m_settings, &SharedSettings::showPlutoChanged, m_orrery, &SolarSystemView::setShowPluto);

    dateChanged();
    timeStateChanged();
    speedChanged();
}

PlanetsView::~PlanetsView() = default;

void PlanetsView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const QSize orrery = m_orrery->sizeHint();
    m_orrery->setGeometry(QRect(QPoint((width() - orrery.width()) / 2, (height() - orrery.height()) / 2), orrery));
}

void PlanetsView::dateChanged()
{
    m_orrery->setDate(m_rotation.date(), m_rotation.isAdvancing() ? tickIntervalMs : 0);
    m_date->setText(displayDateText(m_rotation.date()));
    const std::optional<QString> caption = relativeDateText(m_rotation.date());
    m_caption->setText(caption.value_or(QString()));
    m_caption->setVisible(caption.has_value());
}

void PlanetsView::timeStateChanged()
{
    const bool playing = m_rotation.timeState() == TimeState::play;
    const QColor accent = playing ? colors::orange : colors::gray;
    m_date->setTextColor(accent);
    m_caption->setTextColor(accent);

    const QString action = heliora::text(playing ? "pause" : "play");
    m_playPause->setGlyph(playing ? "pause.fill" : "play.fill");
    nameControlWithKey(m_playPause, action, m_playPauseKey->shortcut());
    updateSpeedText();
}

void PlanetsView::speedChanged()
{
    m_backward->setEnabled(m_rotation.canGoSlower());
    m_forward->setEnabled(m_rotation.canGoFaster());
    updateSpeedText();
}

void PlanetsView::updateSpeedText()
{
    const bool playing = m_rotation.timeState() == TimeState::play;
    m_speed->setText(
        playing ? heliora::text(TextKey { "%lldx", {}, m_rotation.speedMultiplier() }) : heliora::text("pause"));
}

} // namespace heliora
