#include "clock/appstate.h"
#include "clock/currentdate.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <string>
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

    // The notifications an operation gives, in order: "d" the date ("D" when assigned by a tick, which views may
    // animate), "p" the play state, "s" the speed.
    struct StepCase {
        const char* name;
        SpeedType speed;
        TimeState state;
        Operation operation;
        int times;
        SpeedType expectedSpeed;
        TimeState expectedState;
        double expectedDate;
        std::string expectedNotifications;
    };

    void PrintTo(const StepCase& c, std::ostream* os) { *os << c.name; }

    constexpr double start = 1'000'000.0;

    std::string repeated(const std::string& text, int times)
    {
        std::string result;
        for (int i = 0; i < times; ++i)
            result += text;
        return result;
    }

    class Clock : public ::testing::TestWithParam<StepCase> { };

    // Every assignment notifies through its own field's signal, also of an unchanged value, after the value is
    // stored: each signal carries the stored value and the getter already returns it.
    TEST_P(Clock, Operation)
    {
        const StepCase& c = GetParam();
        RotationState clock(start);
        clock.setSpeedType(c.speed);
        clock.setTimeState(c.state);
        std::string seen;
        QObject::connect(&clock, &RotationState::dateChanged, [&](double date) {
            seen += clock.isAdvancing() ? 'D' : 'd';
            EXPECT_EQ(date, clock.date());
        });
        QObject::connect(&clock, &RotationState::timeStateChanged, [&](TimeState state) {
            seen += 'p';
            EXPECT_EQ(state, clock.timeState());
        });
        QObject::connect(&clock, &RotationState::speedChanged, [&](SpeedType speed) {
            seen += 's';
            EXPECT_EQ(speed, clock.speedType());
            EXPECT_EQ(clock.canGoSlower(), speed != slowest);
            EXPECT_EQ(clock.canGoFaster(), speed != fastest);
        });
        for (int i = 0; i < c.times; ++i)
            c.operation(clock);
        EXPECT_EQ(clock.speedType(), c.expectedSpeed);
        EXPECT_EQ(clock.timeState(), c.expectedState);
        EXPECT_EQ(clock.date(), c.expectedDate);
        EXPECT_EQ(seen, c.expectedNotifications);
        EXPECT_FALSE(clock.isAdvancing());
        EXPECT_EQ(clock.speedMultiplier() * 0.5, secondsPerTick(c.expectedSpeed)); // a tick is half a second
    }

    INSTANTIATE_TEST_SUITE_P(Table, Clock,
        ::testing::Values(StepCase { "AdvancePaused", normal, pause, advance, 3, normal, pause, start, "" },
            StepCase { "AdvanceNormal", normal, play, advance, 1, normal, play, start + 0.5, "D" },
            StepCase { "AdvanceSlowest", slowest, play, advance, 2, slowest, play, start - 1e8, "DD" },
            StepCase { "AdvanceFastest", fastest, play, advance, 1, fastest, play, start + 5e7, "D" },
            StepCase { "SlowestToFastest", slowest, pause, faster, 10, fastest, play, start, repeated("ps", 10) },
            StepCase { "FasterAtTheTopPaused", fastest, pause, faster, 1, fastest, pause, start, "" },
            StepCase { "SlowerAtTheBottomPaused", slowest, pause, slower, 1, slowest, pause, start, "" },
            StepCase { "SlowerPausedPlays", normal, pause, slower, 1, backwardHigh, play, start, "ps" },
            StepCase { "TogglePauses", forwardHigh, play, toggle, 1, forwardHigh, pause, start, "p" },
            StepCase { "ToggleTwicePlays", forwardHigh, play, toggle, 2, forwardHigh, play, start, "pp" },
            StepCase { "ResetPausedAtForwardHigh", forwardHigh, pause, reset, 1, normal, play, 42.0, "dps" },
            StepCase { "NotANumberIsNeverTheDate", forwardHigh, pause, notANumber, 1, normal, play, start, "ps" }));

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
