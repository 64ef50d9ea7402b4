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

/// The simulation clock: the date the orrery shows, whether it runs, and how fast. It does not run by itself;
/// the main window's timer calls advance() every 0.5 s. One instance per application run, owned by AppState
/// and shared by the main window and the settings window. Main thread only.
///
/// Every assignment of the date, the play state or the speed emits changed(), also when the value stays the
/// same; the signal comes after the new value is stored, so observers read the new state. An operation that
/// assigns several fields emits once per field, in the order the fields are assigned.
class RotationState : public QObject {
    Q_OBJECT
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
    void changed();

private:
    void step(int delta);

    double m_date;
    TimeState m_timeState = TimeState::play;
    SpeedType m_speedType = SpeedType::normal;
};

} // namespace heliora
