#include "clock/appstate.h"
#include "clock/currentdate.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <vector>

namespace heliora {
namespace {

    using enum SpeedType;
    constexpr SpeedType slowest = backwardExtraExtraExtraExtraHigh;
    constexpr SpeedType fastest = forwardExtraExtraExtraExtraHigh;
    using enum TimeState;

    TEST(Speeds, RawValuesAreOneToEleven)
    {
        EXPECT_EQ(speedTypeFromRawValue(0), std::nullopt);
        EXPECT_EQ(speedTypeFromRawValue(12), std::nullopt);
        EXPECT_EQ(speedTypeFromRawValue(1), slowest);
        EXPECT_EQ(speedTypeFromRawValue(11), fastest);
    }

    using Operation = std::function<void(RotationState&)>;
    const Operation advance = &RotationState::advance;
    const Operation toggle = &RotationState::togglePlayPause;
    const Operation slower = &RotationState::slower;
    const Operation faster = &RotationState::faster;
    const Operation reset = [](RotationState& clock) { clock.reset(42.0); };
    const Operation notANumber = [](RotationState& clock) {
        clock.setDate(NAN);
        clock.reset(-INFINITY);
    };

    struct StepCase {
        const char* name;
        SpeedType speed;
        TimeState state;
        Operation operation;
        int times;
        SpeedType expectedSpeed;
        TimeState expectedState;
        double expectedDate;
        std::size_t expectedNotifications;
    };

    void PrintTo(const StepCase& c, std::ostream* os) { *os << c.name; }

    constexpr double start = 1'000'000.0;

    class Clock : public ::testing::TestWithParam<StepCase> { };

    // Every assignment notifies, also of an unchanged value, after the value is stored.
    TEST_P(Clock, Operation)
    {
        const StepCase& c = GetParam();
        RotationState clock(start);
        clock.setSpeedType(c.speed);
        clock.setTimeState(c.state);
        std::vector<double> seen; // the date as each notification finds it
        QObject::connect(&clock, &RotationState::changed, [&] { seen.push_back(clock.date()); });
        for (int i = 0; i < c.times; ++i)
            c.operation(clock);
        EXPECT_EQ(clock.speedType(), c.expectedSpeed);
        EXPECT_EQ(clock.timeState(), c.expectedState);
        EXPECT_EQ(clock.date(), c.expectedDate);
        EXPECT_EQ(seen.size(), c.expectedNotifications);
        EXPECT_EQ(seen.empty() ? start : seen.back(), c.expectedDate);
        EXPECT_EQ(clock.canGoSlower(), c.expectedSpeed != slowest);
        EXPECT_EQ(clock.canGoFaster(), c.expectedSpeed != fastest);
        EXPECT_EQ(clock.speedMultiplier() * 0.5, secondsPerTick(c.expectedSpeed)); // a tick is half a second
    }

    INSTANTIATE_TEST_SUITE_P(Table, Clock,
        ::testing::Values(StepCase { "AdvancePaused", normal, pause, advance, 3, normal, pause, start, 0 },
            StepCase { "AdvanceNormal", normal, play, advance, 1, normal, play, start + 0.5, 1 },
            StepCase { "AdvanceSlowest", slowest, play, advance, 2, slowest, play, start - 1e8, 2 },
            StepCase { "AdvanceFastest", fastest, play, advance, 1, fastest, play, start + 5e7, 1 },
            StepCase { "SlowestToFastest", slowest, pause, faster, 10, fastest, play, start, 20 },
            StepCase { "FasterAtTheTopPaused", fastest, pause, faster, 1, fastest, pause, start, 0 },
            StepCase { "SlowerAtTheBottomPaused", slowest, pause, slower, 1, slowest, pause, start, 0 },
            StepCase { "SlowerPausedPlays", normal, pause, slower, 1, backwardHigh, play, start, 2 },
            StepCase { "TogglePauses", forwardHigh, play, toggle, 1, forwardHigh, pause, start, 1 },
            StepCase { "ToggleTwicePlays", forwardHigh, play, toggle, 2, forwardHigh, play, start, 2 },
            StepCase { "ResetPausedAtForwardHigh", forwardHigh, pause, reset, 1, normal, play, 42.0, 3 },
            StepCase { "NotANumberIsNeverTheDate", forwardHigh, pause, notANumber, 1, normal, play, start, 2 }));

    TEST(Clock, StartsNowPlayingAtNormalSpeed)
    {
        setFixedCurrentDate(1e9);
        const AppState state;
        const RotationState startedWithNotANumber(NAN);
        setFixedCurrentDate(std::nullopt);
        EXPECT_EQ(state.rotation().date(), 1e9);
        EXPECT_EQ(startedWithNotANumber.date(), 1e9);
        EXPECT_TRUE(state.rotation().timeState() == play && state.rotation().speedType() == normal);
        const auto system = std::chrono::system_clock::now().time_since_epoch();
        EXPECT_NEAR(currentDate(), std::chrono::duration<double>(system).count(), 5.0); // no longer pinned
    }

} // namespace
} // namespace heliora
