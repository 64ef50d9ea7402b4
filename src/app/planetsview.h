#pragma once

#include "model/planet.h"

#include <QWidget>

#include <functional>

class QAction;
class QLabel;

namespace heliora {

class FittingLabel;
class GlyphButton;
class RotationState;
class SharedSettings;
class SolarSystemView;

/// A widget that is the main window's content: the running orrery on black, the date at the top, the caption
/// counting days or years from today, the speed, and the three clock buttons. It observes the application's one
/// clock and drives it through the buttons and their keys (Left, Space, Right, while its window is active, unless
/// a body of the orrery has the keyboard focus and takes them, see SolarSystemView); it has no timer of its own:
/// the application's heartbeat moves the clock, and the planets glide to a date that a tick set. A click on a
/// body, or Return on the focused one, calls `openBody`.
///
/// Children by object name, for tools and tests: the orrery "orrery", the labels "date", "caption" and "speed",
/// the buttons "backward", "play_pause" and "forward".
class PlanetsView : public QWidget {
    Q_OBJECT
public:
    using OpenBody = std::function<void(const SolarSystemObject&)>;

    /// The clock must outlive the view. An empty `openBody` makes the bodies plain pictures.
    PlanetsView(RotationState& rotation, OpenBody openBody, QWidget* parent = nullptr);
    ~PlanetsView() override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void dateChanged();
    void timeStateChanged();
    void speedChanged();
    void updateSpeedText();

    RotationState& m_rotation;
    SharedSettings* m_settings;
    SolarSystemView* m_orrery;
    FittingLabel* m_date;
    FittingLabel* m_caption;
    QLabel* m_speed;
    GlyphButton* m_backward;
    GlyphButton* m_playPause;
    GlyphButton* m_forward;
    QAction* m_playPauseKey;
};

} // namespace heliora
