#include "clock/rotationstate.h"

#include "clock/currentdate.h"

#include <QScopeGuard>

#include <array>
#include <cmath>

namespace heliora {

namespace {

    // Indexed by raw value - 1. Every tick is 0.5 s of real time, so each entry is half its multiplier.
    constexpr std::array<double, speedTypeCount> secondsPerTickTable {
        -50'000'000.0,
        -5'000'000.0,
        -500'000.0,
        -50'000.0,
        -5'000.0,
        0.5,
        5'000.0,
        50'000.0,
        500'000.0,
        5'000'000.0,
        50'000'000.0,
    };

    constexpr std::array<std::int64_t, speedTypeCount> multiplierTable {
        -100'000'000,
        -10'000'000,
        -1'000'000,
        -100'000,
        -10'000,
        1,
        10'000,
        100'000,
        1'000'000,
        10'000'000,
        100'000'000,
    };

    constexpr std::size_t indexOf(SpeedType speed) { return static_cast<std::size_t>(rawValue(speed) - 1); }

} // namespace

std::optional<SpeedType> speedTypeFromRawValue(int raw)
{
    if (raw < 1 || raw > speedTypeCount)
        return std::nullopt;
    return static_cast<SpeedType>(raw);
}

double secondsPerTick(SpeedType speed) { return secondsPerTickTable[indexOf(speed)]; }

std::int64_t speedMultiplier(SpeedType speed) { return multiplierTable[indexOf(speed)]; }

RotationState::RotationState(double date, QObject* parent)
    : QObject(parent)
    , m_date(std::isfinite(date) ? date : currentDate())
{
}

void RotationState::setDate(double date)
{
    if (!std::isfinite(date))
        return;
    m_date = date;
    emit dateChanged(m_date);
}

void RotationState::setTimeState(TimeState state)
{
    m_timeState = state;
    emit timeStateChanged(m_timeState);
}

void RotationState::setSpeedType(SpeedType speed)
{
    m_speedType = speed;
    emit speedChanged(m_speedType);
}

void RotationState::advance()
{
    if (m_timeState != TimeState::play)
        return;
    // The sum stays finite for any reachable date: at 5e7 s a tick, reaching the largest double takes 1e300 ticks.
    // The flag is cleared on the way out even if an observer throws, so no later assignment passes for a tick.
    m_advancing = true;
    const auto cleared = qScopeGuard([this] { m_advancing = false; });
    setDate(m_date + secondsPerTick(m_speedType));
}

void RotationState::togglePlayPause()
{
    setTimeState(m_timeState == TimeState::play ? TimeState::pause : TimeState::play);
}

// Stepping goes through the raw values, so it stops at both ends instead of wrapping around, and a refused
// step leaves the play state alone.
void RotationState::step(int delta)
{
    const auto next = speedTypeFromRawValue(rawValue(m_speedType) + delta);
    if (!next)
        return;
    setTimeState(TimeState::play);
    setSpeedType(*next);
}

void RotationState::slower() { step(-1); }

void RotationState::faster() { step(+1); }

void RotationState::reset(double date)
{
    setDate(date);
    setTimeState(TimeState::play);
    setSpeedType(SpeedType::normal);
}

bool RotationState::canGoSlower() const { return speedTypeFromRawValue(rawValue(m_speedType) - 1).has_value(); }

bool RotationState::canGoFaster() const { return speedTypeFromRawValue(rawValue(m_speedType) + 1).has_value(); }

std::int64_t RotationState::speedMultiplier() const { return heliora::speedMultiplier(m_speedType); }

} // namespace heliora
