#include "views/solarsystemview.h"

#include "strings/stringtable.h"
#include "views/orreryaccessible.h"
#include "views/orrerypainter.h"

#include <QAccessible>
#include <QEasingCurve>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QToolTip>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>

namespace heliora {

namespace {

    // Antialiased edges and the whole-pixel placement of the pictures can reach a pixel beyond a picture's
    // rectangle; repaint that much more around anything that moved.
    constexpr qreal repaintSlack = 2.0;

    void installAccessibilityFactory()
    {
        static const bool installed = [] {
            QAccessible::installFactory(orreryAccessibleFactory);
            return true;
        }();
        Q_UNUSED(installed);
    }

} // namespace

SolarSystemView::SolarSystemView(QWidget* parent)
    : QWidget(parent)
    , m_animation(new QVariantAnimation(this))
{
    installAccessibilityFactory();
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    m_animation->setStartValue(0.0);
    m_animation->setEndValue(1.0);
    m_animation->setEasingCurve(QEasingCurve::Linear);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_progress = value.toDouble();
        applyAngles();
    });
    connect(m_animation, &QVariantAnimation::finished, this, &SolarSystemView::finishAnimation);

    relayout();
}

SolarSystemView::~SolarSystemView() = default;

void SolarSystemView::setDiameter(double diameter)
{
    if (diameter == m_inputs.diameter)
        return;
    m_inputs.diameter = diameter;
    relayout();
    updateGeometry();
}

void SolarSystemView::setShowPluto(bool show)
{
    if (show == m_inputs.showPluto)
        return;
    m_inputs.showPluto = show;
    relayout();
}

void SolarSystemView::setShowOnlyInnerPlanets(bool innerOnly)
{
    if (innerOnly == m_inputs.showOnlyInnerPlanets)
        return;
    m_inputs.showOnlyInnerPlanets = innerOnly;
    relayout();
}

void SolarSystemView::setDate(double date, int animationMs)
{
    if (!std::isfinite(date))
        return;
    m_inputs.date = date;
    OrreryLayout next = layoutOrrery(m_inputs, referenceEpoch());

    // The rings are the same as before (only the date changed); compare the angles planet by planet. Angles
    // move in quarter-degree steps, so most ticks at normal speed leave every one of them where it was.
    bool moved = false;
    std::array<double, planetCount> offsets {};
    for (std::size_t k = 0; k < next.rings.size(); ++k) {
        const double before = m_target.rings[k].nu;
        const double after = next.rings[k].nu;
        if (before != after)
            moved = true;
        // Both angles sit near the same huge value, so their difference is exact; the shown offset is small.
        const std::size_t p = indexOf(next.rings[k].planet);
        offsets[p] = (before - after) + m_startOffset[p] * (1.0 - m_progress);
    }
    if (!moved)
        return;

    m_target = std::move(next);
    if (animationMs > 0 && isVisible()) {
        m_startOffset = offsets;
        m_progress = 0.0;
        m_animation->stop();
        m_animation->setDuration(animationMs);
        m_animation->start();
    } else {
        m_animation->stop();
        m_startOffset = {};
        m_progress = 1.0;
        applyAngles();
    }
}

void SolarSystemView::setOnTapSun(std::function<void()> onTapSun)
{
    m_onTapSun = std::move(onTapSun);
    if (m_pressed && m_pressed->isSun() && !m_onTapSun)
        setPressedInside(false);
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&event);
    }
}

void SolarSystemView::setOnTapPlanet(std::function<void(Planet)> onTapPlanet)
{
    m_onTapPlanet = std::move(onTapPlanet);
    if (m_pressed && !m_pressed->isSun() && !m_onTapPlanet)
        setPressedInside(false);
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&event);
    }
}

QPointF SolarSystemView::layoutOrigin() const
{
    return QPointF((width() - m_layout.diameter) / 2, (height() - m_layout.diameter) / 2);
}

QRectF SolarSystemView::bodyRect(const SolarSystemObject& body) const
{
    const QRectF rect = m_layout.imageRect(body);
    return rect.isNull() ? rect : rect.translated(layoutOrigin());
}

std::optional<SolarSystemObject> SolarSystemView::bodyAt(const QPointF& point) const
{
    return m_layout.bodyAt(point - layoutOrigin());
}

bool SolarSystemView::isClickable(const SolarSystemObject& body) const
{
    if (m_layout.imageRect(body).isNull())
        return false;
    return body.isSun() ? static_cast<bool>(m_onTapSun) : static_cast<bool>(m_onTapPlanet);
}

void SolarSystemView::press(const SolarSystemObject& body)
{
    if (!isClickable(body))
        return;
    // Copy the callback: it may replace itself or delete this view.
    if (body.isSun()) {
        const auto callback = m_onTapSun;
        callback();
    } else {
        const auto callback = m_onTapPlanet;
        callback(*body.asPlanet());
    }
}

bool SolarSystemView::isAnimating() const { return m_animation->state() == QAbstractAnimation::Running; }

QSize SolarSystemView::sizeHint() const
{
    // The D × D square plus the margin that half a planet's picture can stick out on every side.
    const double side = std::ceil(m_target.bounds().width() - 1e-9);
    const int clamped = static_cast<int>(std::clamp(side, 0.0, static_cast<double>(QWIDGETSIZE_MAX)));
    return QSize(clamped, clamped);
}

QSize SolarSystemView::minimumSizeHint() const { return sizeHint(); }

bool SolarSystemView::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (const auto body = bodyAt(help->pos())) {
            QToolTip::showText(help->globalPos(), localizedName(*body), this, bodyRect(*body).toAlignedRect());
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

void SolarSystemView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QPointF origin = layoutOrigin();
    painter.translate(origin);
    OrreryPaintOptions options;
    if (m_pressedInside)
        options.pressed = m_pressed;
    // Qt clips the painter to the dirty region, which with the planets moving is a dozen or more rectangles.
    // Through such a clip every copy goes span by span, and the tall ones are split across Qt's GUI thread pool
    // (a fifth of the CPU at top speed, in pool workers and the futex calls around them). One pass per rectangle,
    // clipped to that rectangle alone, keeps every copy a plain blend that touches only what changed. The
    // rectangles come from the paint engine, in device pixels, so that the passes tile the dirty pixels exactly
    // at any pixel ratio: each pixel is painted once, as a full repaint paints it.
    const QPaintEngine* engine = painter.paintEngine();
    const QRegion devicePixels = engine ? engine->systemClip() : QRegion();
    const QTransform toLayout = painter.deviceTransform().inverted();
    const auto pass = [&](const QRectF& layoutRect) {
        painter.setClipRect(layoutRect);
        options.exposed = layoutRect;
        paintOrrery(painter, m_layout, options);
    };
    if (devicePixels.isEmpty()) {
        for (const QRect& rect : event->region())
            pass(QRectF(rect).translated(-origin));
    } else {
        for (const QRect& rect : devicePixels)
            pass(toLayout.mapRect(QRectF(rect)));
    }
}

void SolarSystemView::mousePressEvent(QMouseEvent* event)
{
    const auto body = event->button() == Qt::LeftButton ? bodyAt(event->position()) : std::nullopt;
    if (!body || !isClickable(*body)) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressed = body;
    setPressedInside(true);
    event->accept();
}

void SolarSystemView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_pressed) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    setPressedInside(bodyAt(event->position()) == m_pressed);
}

void SolarSystemView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_pressed || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const SolarSystemObject body = *m_pressed;
    // Like a button: the click counts when the pointer is released over the body it pressed.
    const bool click = bodyAt(event->position()) == body;
    setPressedInside(false);
    m_pressed.reset();
    event->accept();
    if (click)
        press(body); // last: the callback may delete this view
}

void SolarSystemView::hideEvent(QHideEvent* event)
{
    // Nobody sees a hidden orrery move; put the planets where they are going and stop the timer.
    if (isAnimating()) {
        m_animation->stop();
        finishAnimation();
    }
    m_pressed.reset();
    m_pressedInside = false;
    QWidget::hideEvent(event);
}

void SolarSystemView::relayout()
{
    const std::vector<SolarSystemObject> before = m_layout.bodies();
    m_target = layoutOrrery(m_inputs, referenceEpoch());
    m_layout = m_target;
    // A running animation goes on with the new geometry: the offsets belong to planets, not to rings.
    applyAngles();
    if (m_pressed && m_layout.imageRect(*m_pressed).isNull()) {
        m_pressed.reset();
        m_pressedInside = false;
    }
    update();
    if (m_layout.bodies() != before && QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&event);
    }
}

void SolarSystemView::applyAngles()
{
    const qreal remaining = 1.0 - m_progress;
    if (m_layout.rings.size() != m_target.rings.size())
        m_layout = m_target;
    QRegion dirty;
    for (std::size_t k = 0; k < m_layout.rings.size(); ++k) {
        OrrerySlot& shown = m_layout.rings[k];
        const OrrerySlot& target = m_target.rings[k];
        const QRectF before = shown.imageRect;
        const double phiBefore = shown.phi;
        placePlanet(shown, m_layout.centre, target.nu, m_startOffset[indexOf(shown.planet)] * remaining);
        // Where it was and where it is, apart: at top speed a planet leaps far along its ring between frames, and
        // the rectangle around both places would repaint much that did not change.
        if (shown.phi != phiBefore) {
            dirty += widgetRect(before);
            dirty += widgetRect(shown.imageRect);
        }
    }
    if (!dirty.isEmpty() && isVisible())
        update(dirty);
}

void SolarSystemView::finishAnimation()
{
    m_startOffset = {};
    m_progress = 1.0;
    applyAngles();
}

void SolarSystemView::setPressedInside(bool inside)
{
    if (inside == m_pressedInside)
        return;
    m_pressedInside = inside;
    if (m_pressed && isVisible())
        update(widgetRect(m_layout.imageRect(*m_pressed)));
}

QRect SolarSystemView::widgetRect(const QRectF& layoutRect) const
{
    const QRectF rect = layoutRect.translated(layoutOrigin());
    return rect.adjusted(-repaintSlack, -repaintSlack, repaintSlack, repaintSlack).toAlignedRect();
}

} // namespace heliora
