#pragma once

#include "views/orrerylayout.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QVariantAnimation;

namespace heliora {

/// The orrery widget: the Sun and the planets on their rings for one date, drawn on whatever is behind it.
///
/// The orrery fills a D × D square centred in the widget; the widget asks for a margin around it so that a
/// planet on the outermost ring is never cut. Bodies show their localized names as tooltips and to assistive
/// technologies. With a callback set, clicking a body's picture calls it; without, clicks do nothing.
///
/// Where clicks are on (a callback is set), the bodies are reached with the keyboard as well: Tab moves into the
/// orrery onto the Sun (Backtab onto the outermost planet), the arrow keys move between the clickable bodies in
/// ring order, and Return or Space opens the focused body as a click does. While a body has focus the orrery takes
/// those keys before the window's shortcuts; when it has focus but no body (as when Qt gives it the focus on the
/// window's activation, or after a click), the window's keys keep their meaning. The focused body wears a thin
/// orange circle only while the orrery has the focus from the keyboard, and assistive technologies are told
/// which body has it. A view without callbacks takes no focus.
///
/// setDate with a duration glides every planet linearly from the angle on screen to its new angle, through
/// every whole turn in between. A date that moves no planet (most ticks at normal speed, since angles move
/// in quarter-degree steps) neither animates nor repaints. Hiding the view ends any animation at its target.
class SolarSystemView : public QWidget {
    Q_OBJECT

public:
    explicit SolarSystemView(QWidget* parent = nullptr);
    ~SolarSystemView() override;

    /// D, the diameter of the outermost ring. Negative or not finite counts as 0.
    void setDiameter(double diameter);
    void setShowPluto(bool show);
    /// Mercury to Mars only, whatever setShowPluto says.
    void setShowOnlyInnerPlanets(bool innerOnly);
    /// Seconds since 1970; a date that is not finite is ignored. With `animationMs` > 0 (and the view shown) the
    /// planets glide there over that time; otherwise they jump.
    void setDate(double date, int animationMs = 0);

    /// Whether the view paints its whole rectangle: the field around and beneath the orrery in its palette's
    /// window colour, and then the orrery. Such a view is opaque, and nothing is painted beneath it. Off by
    /// default: the orrery is drawn over whatever its parent paints.
    void setPaintsField(bool paints);

    /// Called when the Sun's picture is clicked; an empty function makes the Sun a plain picture.
    void setOnTapSun(std::function<void()> onTapSun);
    /// Called with the planet whose picture is clicked; an empty function makes the planets plain pictures.
    void setOnTapPlanet(std::function<void(Planet)> onTapPlanet);

    const OrreryInputs& inputs() const { return m_inputs; }
    /// The orrery as it is on screen now (planets mid-way during an animation), in layout coordinates.
    const OrreryLayout& currentLayout() const { return m_layout; }
    /// Where the layout's (0, 0) lies in the widget.
    QPointF layoutOrigin() const;
    /// The body's picture in widget coordinates; empty when the body is not shown.
    QRectF bodyRect(const SolarSystemObject& body) const;
    /// The frontmost body whose picture contains the point (widget coordinates).
    std::optional<SolarSystemObject> bodyAt(const QPointF& point) const;
    bool isClickable(const SolarSystemObject& body) const;
    /// Calls the body's callback, as a click on it does; does nothing when the body is not clickable or shown.
    void press(const SolarSystemObject& body);
    /// The body that keyboard focus is on; none unless the orrery was entered with the keyboard. It stays while
    /// another window is active, so that coming back finds the same body.
    std::optional<SolarSystemObject> focusedBody() const { return m_focusBody; }
    bool isAnimating() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void relayout();
    /// Has the pictures of the laid-out bodies made ahead, on other threads.
    void preparePictures() const;
    /// Places the planets at the animation's progress; returns what that leaves to repaint (nothing while hidden).
    [[nodiscard]] QRegion applyAngles();
    void finishAnimation();
    void setPressedInside(bool inside);
    /// The clickable bodies, in ring order: the ones the keyboard reaches.
    std::vector<SolarSystemObject> focusableBodies() const;
    void updateFocusPolicy();
    void setFocusBody(std::optional<SolarSystemObject> body);
    /// Keeps the focused body among the focusable ones when the bodies change: a body that went away hands the
    /// focus to the nearest one inside it.
    void keepFocusBodyShown();
    void moveFocusBody(int step);
    /// The body whose focus mark is drawn, if any.
    std::optional<SolarSystemObject> markedBody() const;
    void updateFocusMark(const std::optional<SolarSystemObject>& body);
    /// Tells assistive technologies where the focus is: on the focused body, or on the orrery itself.
    void announceFocus();
    /// A rectangle of the layout in widget coordinates, grown by what whole-pixel placement can add at the ratio.
    QRect widgetRect(const QRectF& layoutRect, qreal pixelRatio) const;

    OrreryInputs m_inputs;
    OrreryLayout m_target; ///< every planet at its angle for the date
    OrreryLayout m_layout; ///< what is on screen: the target with the animation's remaining offsets
    /// Per planet, the offset in degrees from its target angle at the start of the running animation.
    std::array<double, planetCount> m_startOffset {};
    double m_progress = 1.0;
    QVariantAnimation* m_animation = nullptr;

    /// What the target's angles were last computed from by setDate: the epoch and each ring's phase time (the
    /// date plus the preset's periods of its planet). None after a relayout.
    struct PhaseKey {
        double epoch = 0;
        std::array<double, planetCount> times {};
        bool operator==(const PhaseKey&) const = default;
    };
    std::optional<PhaseKey> m_phaseKey;

    std::function<void()> m_onTapSun;
    std::function<void(Planet)> m_onTapPlanet;
    std::optional<SolarSystemObject> m_pressed;
    bool m_pressedInside = false;
    bool m_paintsField = false;
    std::optional<SolarSystemObject> m_focusBody;
};

} // namespace heliora
