#include "views/solarsystemview.h"

#include "artwork/artwork.h"
#include "model/orbit.h"
#include "strings/stringtable.h"
#include "views/accessibility.h"
#include "views/orreryaccessible.h"
#include "views/orrerypainter.h"

#include <QAccessible>
#include <QEasingCurve>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QToolTip>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>
#include <vector>

namespace heliora {

namespace {

    // Each rectangle of a repaint costs a fixed few microseconds (a pass of the painter, the parent's fill, one
    // image sent to the display); each device pixel a fraction of a nanosecond. Two rectangles are painted as their
    // bounding rectangle when that adds fewer pixels than the saved fixed cost pays for, which also spares the region
    // the slivers into which overlapping rectangles are cut. Measured with views_bench (viewFrameAtTopSpeed, at
    // QT_SCALE_FACTOR 1 and 2): at one device pixel per logical pixel a rectangle is worth about 32,000 pixels (the
    // whole orrery in one rectangle is the cheapest frame); at two, where the pixels that a frame touches no longer
    // fit the processor's cache, each pixel costs several times more and a rectangle is worth about 8,000. So the
    // limit, in device pixels, falls with the square of the ratio.
    constexpr double mergeablePixels = 32000;

    QRegion repaintRegion(const std::vector<QRect>& rects, qreal pixelRatio)
    {
        // In logical pixels: the device pixels' limit, over the ratio squared once more for the pixels' count.
        const double limit = mergeablePixels / std::pow(pixelRatio, 4);
        const auto area = [](const QRect& r) { return r.isEmpty() ? 0.0 : double(r.width()) * r.height(); };
        // First fit: each rectangle joins the first kept one that it merges with cheaply; a kept rectangle that grew
        // is offered to the others again, until nothing merges.
        std::vector<QRect> kept;
        kept.reserve(rects.size());
        for (QRect rect : rects) {
            for (std::size_t i = 0; i < kept.size();) {
                const double added = area(kept[i] | rect) - area(kept[i]) - area(rect) + area(kept[i] & rect);
                if (added < limit) {
                    rect |= kept[i];
                    kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(i));
                    i = 0;
                } else {
                    ++i;
                }
            }
            kept.push_back(rect);
        }
        QRegion region;
        for (const QRect& rect : kept)
            region += rect;
        return region;
    }

    // The keys of a focused body: the arrows move, Return, Enter and Space open it. Modifiers make them someone
    // else's (the keypad's own flag aside).
    bool isBodyKey(const QKeyEvent& event)
    {
        if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        switch (event.key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return true;
        default:
            return false;
        }
    }

    // Tab and Backtab as Qt's focus chain reads them: 0 for any other key, 1 forwards, -1 backwards.
    int tabDirection(const QKeyEvent& event)
    {
        if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            return 0;
        if (event.key() == Qt::Key_Backtab || (event.key() == Qt::Key_Tab && (event.modifiers() & Qt::ShiftModifier)))
            return -1;
        return event.key() == Qt::Key_Tab ? 1 : 0;
    }

    // Position in ring order: the Sun first, then the planets in their fixed order.
    int ringOrder(const SolarSystemObject& body)
    {
        const auto planet = body.asPlanet();
        return planet ? static_cast<int>(indexOf(*planet)) + 1 : 0;
    }

} // namespace

SolarSystemView::SolarSystemView(QWidget* parent)
    : QWidget(parent)
    , m_animation(new QVariantAnimation(this))
{
    installAccessibleInterfaces();
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    m_animation->setStartValue(0.0);
    m_animation->setEndValue(1.0);
    m_animation->setEasingCurve(QEasingCurve::Linear);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_progress = value.toDouble();
        // A frame of a glide is painted at once rather than queued: the animation's timer has already woken the
        // application for it, and a queued repaint would cost the event loop another round per frame (a wake-up
        // and two system calls, about a tenth of the CPU at top speed).
        const QRegion dirty = applyAngles();
        if (!dirty.isEmpty())
            repaint(dirty);
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

    // Only the angles follow the date; rings, sizes and pictures stay. So the angles alone are computed, as
    // layoutOrrery computes them, and compared planet by planet. An angle reads the date only through its planet's
    // phase time, the date plus the preset's whole number of that planet's periods (orbitalAngleFromEpoch): a sum
    // so large that a double holds the date in it only to a fraction of an hour (Mercury) or to days (Pluto). So
    // most ticks at normal speed leave every phase time as it was, and with it every angle: then nothing else is
    // done, not even the angles' trigonometry, which at such phases is the dearest part of a tick.
    const double epoch = referenceEpoch();
    const double preset = std::isfinite(m_inputs.presetPeriod) ? m_inputs.presetPeriod : 0.0;
    PhaseKey key { epoch, {} };
    for (std::size_t k = 0; k < m_target.rings.size(); ++k)
        key.times[k] = orbitalElements(m_target.rings[k].planet).period * preset + date;
    if (key == m_phaseKey)
        return;
    m_phaseKey = key;
    bool moved = false;
    std::array<double, planetCount> angles {};
    std::array<double, planetCount> offsets {};
    for (std::size_t k = 0; k < m_target.rings.size(); ++k) {
        const OrrerySlot& slot = m_target.rings[k];
        const double after = orbitalAngleFromEpoch(slot.planet, date, preset, slot.ringRadius, epoch);
        angles[k] = std::isfinite(after) ? after : 0.0;
        const double before = slot.nu;
        if (before != angles[k])
            moved = true;
        // Both angles sit near the same huge value, so their difference is exact; the shown offset is small.
        const std::size_t p = indexOf(slot.planet);
        offsets[p] = (before - angles[k]) + m_startOffset[p] * (1.0 - m_progress);
    }
    if (!moved)
        return;

    for (std::size_t k = 0; k < m_target.rings.size(); ++k)
        placePlanet(m_target.rings[k], m_target.centre, angles[k]);
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
        update(applyAngles());
    }
}

void SolarSystemView::setOnTapSun(std::function<void()> onTapSun)
{
    m_onTapSun = std::move(onTapSun);
    if (m_pressed && m_pressed->isSun() && !m_onTapSun)
        setPressedInside(false);
    updateFocusPolicy();
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
    updateFocusPolicy();
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
    // The D × D square plus the margin that half a planet's picture can stick out on every side, and where the
    // orrery takes the focus, the reach of the focus mark around such a picture.
    const double mark = focusPolicy() == Qt::NoFocus ? 0.0 : 2 * focusMarkReach;
    const double side = std::ceil(m_target.bounds().width() + mark - 1e-9);
    const int clamped = static_cast<int>(std::clamp(side, 0.0, static_cast<double>(QWIDGETSIZE_MAX)));
    return QSize(clamped, clamped);
}

QSize SolarSystemView::minimumSizeHint() const { return sizeHint(); }

bool SolarSystemView::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        // A focused body's keys come before the window's shortcuts (Space plays and pauses, the arrows step the
        // speed); without a focused body the shortcuts keep them.
        if (m_focusBody && hasFocus() && isBodyKey(*static_cast<QKeyEvent*>(event))) {
            event->accept();
            return true;
        }
    } else if (event->type() == QEvent::KeyPress) {
        const int direction = tabDirection(*static_cast<QKeyEvent*>(event));
        if (direction != 0 && !m_focusBody) {
            // The orrery has the focus but no body (Qt gave it the focus with the window): Tab goes in.
            const std::vector<SolarSystemObject> bodies = focusableBodies();
            if (!bodies.empty()) {
                setFocusBody(direction > 0 ? bodies.front() : bodies.back());
                announceFocus();
                return true;
            }
        } else if (direction != 0) {
            const bool handled = QWidget::event(event);
            // Nothing else in the window takes the focus and it came back here: Tab leaves the bodies, for the
            // window's keys.
            if (hasFocus() && m_focusBody) {
                setFocusBody(std::nullopt);
                announceFocus();
            }
            return handled;
        }
    } else if (event->type() == QEvent::Polish) {
        // The view is about to be shown with the inputs that its owner gave it; the window's layout and fonts still
        // keep the main thread busy for a while.
        preparePictures();
    } else if (event->type() == QEvent::ToolTip) {
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

void SolarSystemView::setPaintsField(bool paints)
{
    if (paints == m_paintsField)
        return;
    m_paintsField = paints;
    // Qt paints no background beneath an opaque widget, so a view that paints its field must say so.
    setAttribute(Qt::WA_OpaquePaintEvent, paints);
    update();
}

void SolarSystemView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QPointF origin = layoutOrigin();
    painter.translate(origin);
    OrreryPaintOptions options;
    if (m_pressedInside)
        options.pressed = m_pressed;
    options.focused = markedBody();
    if (m_paintsField) {
        // Opaque whatever the palette says: nothing lies beneath a view that paints its field.
        options.field = palette().color(QPalette::Window);
        options.field.setAlpha(255);
    }
    // The ring layer pays for itself only while the planets glide (or wait mid-way), frame after frame; a single
    // frame (the first one, an exposure, a step at normal speed) strokes the rings it needs, which costs less than
    // making the layer and leaves its memory (a megabyte or more) unspent until the planets move. Once made, the
    // layer serves every frame, the last one of a glide too.
    options.makeRingLayer = m_animation->state() != QAbstractAnimation::Stopped;
    // Qt clips the painter to the dirty region, which with the planets moving can be many rectangles. Through such
    // a clip every copy goes span by span, and the tall ones are split across Qt's GUI thread pool (a fifth of the
    // CPU at top speed, in pool workers and the futex calls around them). One pass per rectangle, clipped to that
    // rectangle alone, keeps every copy a plain blend that touches only what changed. The rectangles come from the
    // paint engine, in device pixels, so that the passes tile the dirty pixels exactly at any pixel ratio: each
    // pixel is painted once, as a full repaint paints it.
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
    // The mouse has taken over: the focus mark goes, and the window's keys are the window's again.
    if (m_focusBody) {
        setFocusBody(std::nullopt);
        if (hasFocus())
            announceFocus();
    }
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

void SolarSystemView::keyPressEvent(QKeyEvent* event)
{
    if (!m_focusBody || !isBodyKey(*event)) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        moveFocusBody(-1);
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        moveFocusBody(1);
        break;
    default:
        // A held key opens one window, not one per repeat.
        if (!event->isAutoRepeat())
            press(*m_focusBody); // last: the callback may delete this view
        break;
    }
}

// Not QWidget's focus handlers: they repaint the whole view, where only the mark changes.
void SolarSystemView::focusInEvent(QFocusEvent* event)
{
    const std::vector<SolarSystemObject> bodies = focusableBodies();
    if (!m_focusBody && !bodies.empty()) {
        if (event->reason() == Qt::TabFocusReason)
            m_focusBody = bodies.front();
        else if (event->reason() == Qt::BacktabFocusReason)
            m_focusBody = bodies.back();
    }
    updateFocusMark(m_focusBody);
    // Qt tells assistive technologies that the orrery has the focus only after this handler; the body follows.
    if (m_focusBody)
        QMetaObject::invokeMethod(this, &SolarSystemView::announceFocus, Qt::QueuedConnection);
}

void SolarSystemView::focusOutEvent(QFocusEvent* event)
{
    updateFocusMark(m_focusBody);
    // Another window or a popup only borrows the focus: the body is still there when it comes back. Anything else
    // (Tab onwards, a click elsewhere) leaves the orrery.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        m_focusBody.reset();
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
    m_phaseKey.reset();
    m_layout = m_target;
    // A running animation goes on with the new geometry: the offsets belong to planets, not to rings. The whole
    // view is repainted below.
    (void)applyAngles();
    if (m_pressed && m_layout.imageRect(*m_pressed).isNull()) {
        m_pressed.reset();
        m_pressedInside = false;
    }
    keepFocusBodyShown();
    if (testAttribute(Qt::WA_WState_Polished))
        preparePictures();
    update();
    if (m_layout.bodies() != before && QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&event);
    }
}

void SolarSystemView::preparePictures() const
{
    // The pictures of the next frame are made on other threads meanwhile: at start-up they are ready by the first
    // frame, which then only copies them. Views that are set up and changed before they are polished ask once.
    const qreal ratio = devicePixelRatioF();
    for (const SolarSystemObject& body : m_layout.bodies())
        artwork::prepareBody(body.imageName(), m_layout.imageRect(body).size(), ratio);
}

QRegion SolarSystemView::applyAngles()
{
    const qreal remaining = 1.0 - m_progress;
    if (m_layout.rings.size() != m_target.rings.size())
        m_layout = m_target;
    std::vector<QRect> dirty;
    const qreal ratio = devicePixelRatioF();
    const std::optional<SolarSystemObject> marked = markedBody();
    for (std::size_t k = 0; k < m_layout.rings.size(); ++k) {
        OrrerySlot& shown = m_layout.rings[k];
        const OrrerySlot& target = m_target.rings[k];
        const QRectF before = shown.imageRect;
        const double phiBefore = shown.phi;
        placePlanet(shown, m_layout.centre, target.nu, m_startOffset[indexOf(shown.planet)] * remaining);
        // Where it was and where it is, apart: at top speed a planet leaps far along its ring between frames, and
        // the rectangle around both places would repaint much that did not change. A focused planet takes its
        // mark along.
        if (shown.phi != phiBefore) {
            const bool withMark = marked == SolarSystemObject::planet(shown.planet);
            dirty.push_back(widgetRect(withMark ? focusMarkRect(before) : before, ratio));
            dirty.push_back(widgetRect(withMark ? focusMarkRect(shown.imageRect) : shown.imageRect, ratio));
        }
    }
    if (dirty.empty() || !isVisible())
        return {};
    return repaintRegion(dirty, ratio);
}

void SolarSystemView::finishAnimation()
{
    m_startOffset = {};
    m_progress = 1.0;
    update(applyAngles());
}

void SolarSystemView::setPressedInside(bool inside)
{
    if (inside == m_pressedInside)
        return;
    m_pressedInside = inside;
    if (m_pressed && isVisible())
        update(widgetRect(m_layout.imageRect(*m_pressed), devicePixelRatioF()));
}

std::vector<SolarSystemObject> SolarSystemView::focusableBodies() const
{
    std::vector<SolarSystemObject> bodies = m_layout.bodies();
    std::erase_if(bodies, [this](const SolarSystemObject& body) { return !isClickable(body); });
    return bodies;
}

void SolarSystemView::updateFocusPolicy()
{
    const Qt::FocusPolicy policy = m_onTapSun || m_onTapPlanet ? Qt::TabFocus : Qt::NoFocus;
    if (policy != focusPolicy()) {
        setFocusPolicy(policy);
        updateGeometry();
        if (policy == Qt::NoFocus && hasFocus())
            clearFocus();
    }
    keepFocusBodyShown();
}

void SolarSystemView::setFocusBody(std::optional<SolarSystemObject> body)
{
    if (body == m_focusBody)
        return;
    updateFocusMark(m_focusBody);
    m_focusBody = body;
    updateFocusMark(m_focusBody);
}

void SolarSystemView::keepFocusBodyShown()
{
    if (!m_focusBody || isClickable(*m_focusBody))
        return;
    const std::vector<SolarSystemObject> bodies = focusableBodies();
    std::optional<SolarSystemObject> nearest;
    if (!bodies.empty())
        nearest = bodies.front();
    for (const SolarSystemObject& body : bodies) {
        if (ringOrder(body) <= ringOrder(*m_focusBody))
            nearest = body;
    }
    setFocusBody(nearest);
    if (hasFocus())
        announceFocus();
}

void SolarSystemView::moveFocusBody(int step)
{
    const std::vector<SolarSystemObject> bodies = focusableBodies();
    const auto it = std::find(bodies.begin(), bodies.end(), m_focusBody);
    if (it == bodies.end())
        return;
    // Round the rings: past the outermost planet comes the Sun again.
    const auto count = static_cast<std::ptrdiff_t>(bodies.size());
    const std::ptrdiff_t next = ((it - bodies.begin() + step) % count + count) % count;
    setFocusBody(bodies[static_cast<std::size_t>(next)]);
    announceFocus();
}

std::optional<SolarSystemObject> SolarSystemView::markedBody() const { return hasFocus() ? m_focusBody : std::nullopt; }

void SolarSystemView::updateFocusMark(const std::optional<SolarSystemObject>& body)
{
    if (body && isVisible())
        update(widgetRect(focusMarkRect(m_layout.imageRect(*body)), devicePixelRatioF()));
}

void SolarSystemView::announceFocus()
{
    if (!hasFocus() || !QAccessible::isActive())
        return;
    QAccessibleInterface* orrery = QAccessible::queryAccessibleInterface(this);
    auto* bodies = dynamic_cast<OrreryAccessible*>(orrery);
    QAccessibleInterface* focused = m_focusBody && bodies ? bodies->bodyInterface(*m_focusBody) : orrery;
    if (!focused)
        return;
    QAccessibleEvent event(focused, QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
}

QRect SolarSystemView::widgetRect(const QRectF& layoutRect, qreal pixelRatio) const
{
    // A picture is placed on whole device pixels, which moves it by up to half a device pixel, and its raster is
    // rounded to whole device pixels: it stays within a device pixel of its rectangle. Repaint that much more (at
    // least a logical pixel), rounded outwards to whole logical pixels.
    const qreal slack = std::max(1.0, 1.0 / pixelRatio);
    const QRectF rect = layoutRect.translated(layoutOrigin());
    return rect.adjusted(-slack, -slack, slack, slack).toAlignedRect();
}

} // namespace heliora
