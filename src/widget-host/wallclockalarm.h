#pragma once

#include <QObject>

class QSocketNotifier;

namespace heliora::host {

/// An alarm on the wall clock: a Linux timerfd on CLOCK_REALTIME that rings at an absolute date, also when the
/// machine slept through it (it rings at once on waking), and that reports when the wall clock is set (by hand,
/// by time synchronisation, or on resume from suspend) through TFD_TIMER_CANCEL_ON_SET. Between these events it
/// costs nothing: no polling, one file descriptor watched by the event loop. One alarm at a time; arming again
/// replaces it. Owned by the host; main thread only.
class WallClockAlarm : public QObject {
    Q_OBJECT
public:
    explicit WallClockAlarm(QObject* parent = nullptr);
    ~WallClockAlarm() override;

    /// False when the kernel gave no timerfd; the alarm then never rings.
    bool isValid() const { return m_fd >= 0; }
    /// Rings at `date` (seconds since 1970); a date in the past rings at once. A date that is not finite disarms.
    void arm(double date);
    void disarm();
    bool isArmed() const { return m_armed; }

signals:
    /// The armed date has come. The alarm is disarmed.
    void rang();
    /// The wall clock was set while the alarm was armed. The alarm is disarmed; the date it waited for may have
    /// passed or moved away.
    void clockChanged();

private:
    void readExpiry();

    int m_fd = -1;
    bool m_armed = false;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace heliora::host
