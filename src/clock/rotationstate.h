#pragma once

#include <QObject>

#include <cstdint>
#include <optional>

namespace heliora {

/// The eleven speeds of the simulation clock, slowest backward first; raw values 1 to 11.
/// There is no zero speed: stopping the clock is done by pausing it.
enum class SpeedType {
    backwardExtraExtraExtraExtraHigh = 1,
    backwardExtraExtraExtraHigh,
    backwardExtraExtraHigh,
    backwardExtraHigh,
    backwardHigh,
    normal,
    forwardHigh,
    forwardExtraHigh,
    forwardExtraExtraHigh,
    forwardExtraExtraExtraHigh,
    forwardExtraExtraExtraExtraHigh,
};

inline constexpr int speedTypeCount = 11;

/// The speed with this raw value (1 to 11); nothing for any other integer.
std::optional<SpeedType> speedTypeFromRawValue(int raw);
constexpr int rawValue(SpeedType speed) { return static_cast<int>(speed); }

/// Seconds added to the simulation date by one 0.5-second tick: ±5,000 to ±50,000,000, and 0.5 at normal speed.
double secondsPerTick(SpeedType speed);
/// The speed as a multiple of real time, shown in the speed label: ±10^4 to ±10^8, and 1 at normal speed.
std::int64_t speedMultiplier(SpeedType speed);

/// Whether the clock advances on ticks.
enum class TimeState { play, pause };

/// The period of the clock's heartbeat: every speed's secondsPerTick is what passes in this much real time.
inline constexpr int tickIntervalMs = 500;

/// A QObject that is the simulation clock: the date the orrery shows, whether it runs, and how fast. It does not
/// run by itself: the application's heartbeat calls advance() every tickIntervalMs. One instance per application
/// run, owned by AppState and shared by every window. Main thread only.
///
/// Each field has its own change signal, emitted on every assignment, also when the value stays the same, and
/// after the new value is stored, so observers read the new state. An operation that assigns several fields
/// emits once per field, in the order the fields are assigned (reset: date, play state, speed).
class RotationState : public QObject {
    Q_OBJECT
    Q_PROPERTY(double date READ date WRITE setDate NOTIFY dateChanged)
    Q_PROPERTY(heliora::TimeState timeState READ timeState WRITE setTimeState NOTIFY timeStateChanged)
    Q_PROPERTY(heliora::SpeedType speedType READ speedType WRITE setSpeedType NOTIFY speedChanged)
public:
    /// A playing clock at normal speed, at `date` (seconds since 1970; a NaN or an infinity starts it now).
    explicit RotationState(double date, QObject* parent = nullptr);

    double date() const { return m_date; }
    TimeState timeState() const { return m_timeState; }
    SpeedType speedType() const { return m_speedType; }

    /// Sets the date alone. The date has no bound, but it must be a number: a NaN or an infinity is refused
    /// (nothing is assigned and nothing is emitted), since no date text or orbit can be derived from it.
    void setDate(double date);
    void setTimeState(TimeState state);
    void setSpeedType(SpeedType speed);

    /// While playing, adds the speed's secondsPerTick to the date (plain addition, no calendar); paused: nothing.
    void advance();
    /// True while advance() assigns the date: an observer of dateChanged may glide to a date that a tick set
    /// (over tickIntervalMs) and jump to any other.
    bool isAdvancing() const { return m_advancing; }
    void togglePlayPause();
    /// One speed step down (up): sets play, then the speed. Nothing at all at the first (last) speed.
    void slower();
    void faster();
    /// The given date, then play, then normal speed.
    void reset(double date);

    bool canGoSlower() const;
    bool canGoFaster() const;
    std::int64_t speedMultiplier() const;

signals:
    void dateChanged(double date);
    void timeStateChanged(heliora::TimeState state);
    void speedChanged(heliora::SpeedType speed);

private:
    void step(int delta);

    bool m_advancing = false;
    double m_date;
    TimeState m_timeState = TimeState::play;
    SpeedType m_speedType = SpeedType::normal;
};

} // namespace heliora
