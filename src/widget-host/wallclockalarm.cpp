#include "widget-host/wallclockalarm.h"

#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <limits>

#include <sys/timerfd.h>
#include <unistd.h>

namespace heliora::host {

namespace {

    // Well inside time_t on every 64-bit system, and past any date a widget asks for.
    constexpr double latestSecond = 1e15;

    timespec timespecOf(double date)
    {
        // An absolute time of zero would disarm the timer; the earliest date that still rings is one nanosecond.
        const double clamped = std::clamp(date, 1e-9, latestSecond);
        timespec value {};
        value.tv_sec = static_cast<time_t>(std::floor(clamped));
        value.tv_nsec = static_cast<long>(std::lround((clamped - std::floor(clamped)) * 1e9));
        if (value.tv_nsec >= 1'000'000'000) {
            value.tv_sec += 1;
            value.tv_nsec -= 1'000'000'000;
        }
        if (value.tv_sec == 0 && value.tv_nsec == 0)
            value.tv_nsec = 1;
        return value;
    }

} // namespace

WallClockAlarm::WallClockAlarm(QObject* parent)
    : QObject(parent)
    , m_fd(::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC))
{
    if (m_fd < 0)
        return;
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &WallClockAlarm::readExpiry);
}

WallClockAlarm::~WallClockAlarm()
{
    if (m_fd >= 0) {
        delete m_notifier;
        ::close(m_fd);
    }
}

void WallClockAlarm::arm(double date)
{
    if (m_fd < 0)
        return;
    if (!std::isfinite(date)) {
        disarm();
        return;
    }
    itimerspec expiry {};
    expiry.it_value = timespecOf(date);
    m_armed = ::timerfd_settime(m_fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &expiry, nullptr) == 0;
}

void WallClockAlarm::disarm()
{
    if (m_fd < 0)
        return;
    itimerspec never {}; // a zero expiry disarms the timer
    ::timerfd_settime(m_fd, 0, &never, nullptr);
    m_armed = false;
}

void WallClockAlarm::readExpiry()
{
    std::uint64_t expirations = 0;
    const ssize_t got = ::read(m_fd, &expirations, sizeof expirations);
    if (got == static_cast<ssize_t>(sizeof expirations)) {
        m_armed = false;
        emit rang();
    } else if (got < 0 && errno == ECANCELED) {
        // The kernel cancelled the timer because the clock was set; it stays cancelled until armed again.
        m_armed = false;
        emit clockChanged();
    }
    // EAGAIN: somebody re-armed the timer between the notification and the read; nothing is due.
}

} // namespace heliora::host
