#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <vector>

class QWidget;

namespace heliora {

class RotationState;

/// A QObject that drives one clock: a precise timer of tickIntervalMs that calls RotationState::advance() on
/// every beat. It beats while at least one of the windows it watches is visible (a minimised window counts as
/// visible: the date runs on behind it) and stands still otherwise, so a view that is built and never shown
/// costs nothing and no number of views makes the clock run faster. A paused clock ignores the beats.
///
/// The clock must outlive the heartbeat; watched windows may go away at any time.
class ClockHeartbeat : public QObject {
    Q_OBJECT
public:
    explicit ClockHeartbeat(RotationState& rotation, QObject* parent = nullptr);

    /// Beats while `window` (or another watched window) is visible. Watching a window twice changes nothing.
    void watch(QWidget* window);

    bool isBeating() const { return m_timer.isActive(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void update();

    RotationState& m_rotation;
    QTimer m_timer;
    std::vector<QPointer<QWidget>> m_windows;
};

} // namespace heliora
