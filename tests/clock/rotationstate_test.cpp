#include "clock/appstate.h"
#include "clock/currentdate.h"
#include "support/rows.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <string>

namespace heliora {
namespace {

    using test::PrintTo;
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

    constexpr double start = 1'000'000.0;

    struct Setting {
        SpeedType speed;
        TimeState state;
    };

    // An operation run `times` on a clock set to `from`, the setting and date it leaves, and the notifications it
    // gives, in order: "d" the date ("D" when assigned by a tick, which views may animate), "p" the play state, "s"
    // the speed.
    struct StepCase {
        const char* name;
        Setting from;
        Operation operation;
        int times;
        Setting to;
        double date;
        const char* told;
    };

    class Clock : public ::testing::TestWithParam<StepCase> { };

    // Every assignment notifies through its own field's signal, also of an unchanged value, after the value is
    // stored: each signal carries the stored value and the getter already returns it.
    TEST_P(Clock, Operation)
    {
        const StepCase& c = GetParam();
        RotationState clock(start);
        clock.setSpeedType(c.from.speed);
        clock.setTimeState(c.from.state);
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
        EXPECT_EQ(clock.speedType(), c.to.speed);
        EXPECT_EQ(clock.timeState(), c.to.state);
        EXPECT_EQ(clock.date(), c.date);
        EXPECT_EQ(seen, c.told);
        EXPECT_FALSE(clock.isAdvancing());
        EXPECT_EQ(clock.speedMultiplier() * 0.5, secondsPerTick(c.to.speed)); // a tick is half a second
    }

    // clang-format off
    const StepCase steps[] = {
        { .name = "AdvancePaused", .from = { normal, pause }, .operation = advance, .times = 3,
            .to = { normal, pause }, .date = start, .told = "" },
        { .name = "AdvanceNormal", .from = { normal, play }, .operation = advance, .times = 1,
            .to = { normal, play }, .date = start + 0.5, .told = "D" },
        { .name = "AdvanceSlowest", .from = { slowest, play }, .operation = advance, .times = 2,
            .to = { slowest, play }, .date = start - 1e8, .told = "DD" },
        { .name = "AdvanceFastest", .from = { fastest, play }, .operation = advance, .times = 1,
            .to = { fastest, play }, .date = start + 5e7, .told = "D" },
        { .name = "SlowestToFastest", .from = { slowest, pause }, .operation = faster, .times = 10,
            .to = { fastest, play }, .date = start, .told = "pspspspspspspspspsps" },
        { .name = "FasterAtTheTopPaused", .from = { fastest, pause }, .operation = faster, .times = 1,
            .to = { fastest, pause }, .date = start, .told = "" },
        { .name = "SlowerAtTheBottomPaused", .from = { slowest, pause }, .operation = slower, .times = 1,
            .to = { slowest, pause }, .date = start, .told = "" },
        { .name = "SlowerPausedPlays", .from = { normal, pause }, .operation = slower, .times = 1,
            .to = { backwardHigh, play }, .date = start, .told = "ps" },
        { .name = "TogglePauses", .from = { forwardHigh, play }, .operation = toggle, .times = 1,
            .to = { forwardHigh, pause }, .date = start, .told = "p" },
        { .name = "ToggleTwicePlays", .from = { forwardHigh, play }, .operation = toggle, .times = 2,
            .to = { forwardHigh, play }, .date = start, .told = "pp" },
        { .name = "ResetPausedAtForwardHigh", .from = { forwardHigh, pause }, .operation = reset, .times = 1,
            .to = { normal, play }, .date = 42.0, .told = "dps" },
        { .name = "NotANumberIsNeverTheDate", .from = { forwardHigh, pause }, .operation = notANumber, .times = 1,
            .to = { normal, play }, .date = start, .told = "ps" },
    };
    // clang-format on

    INSTANTIATE_TEST_SUITE_P(Table, Clock, ::testing::ValuesIn(steps), test::rowName);

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
