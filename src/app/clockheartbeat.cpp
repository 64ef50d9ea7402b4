#include "app/clockheartbeat.h"

#include "clock/rotationstate.h"

#include <QEvent>
#include <QWidget>

#include <algorithm>

namespace heliora {

ClockHeartbeat::ClockHeartbeat(RotationState& rotation, QObject* parent)
    : QObject(parent)
    , m_rotation(rotation)
    , m_timer(this)
{
    // A coarse timer may fire up to 5 % late, and the simulated date would fall behind real time.
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(tickIntervalMs);
    connect(&m_timer, &QTimer::timeout, &m_rotation, &RotationState::advance);
}

void ClockHeartbeat::watch(QWidget* window)
{
    if (!window || std::find(m_windows.begin(), m_windows.end(), window) != m_windows.end())
        return;
    m_windows.emplace_back(window);
    window->installEventFilter(this);
    connect(window, &QObject::destroyed, this, [this](QObject* gone) {
        std::erase_if(m_windows, [gone](const QPointer<QWidget>& w) { return w.isNull() || w.data() == gone; });
        update();
    });
    update();
}

bool ClockHeartbeat::eventFilter(QObject* watched, QEvent* event)
{
    // Qt marks a window visible or hidden before it sends the event, so isVisible() already tells the new state.
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide)
        update();
    return QObject::eventFilter(watched, event);
}

void ClockHeartbeat::update()
{
    const bool anyVisible = std::any_of(
        m_windows.begin(), m_windows.end(), [](const auto& window) { return window && window->isVisible(); });
    if (anyVisible && !m_timer.isActive())
        m_timer.start();
    else if (!anyVisible)
        m_timer.stop();
}

} // namespace heliora
