#include "currentdate.h"
#include "rotationstate.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <vector>

namespace heliora {
namespace {

    struct SpeedRow {
        int raw;
        SpeedType speed;
        double secondsPerTick;
        std::int64_t multiplier;
    };

    void PrintTo(const SpeedRow& row, std::ostream* os) { *os << "raw " << row.raw; }

    class Speeds : public ::testing::TestWithParam<SpeedRow> { };

    TEST_P(Speeds, RawValueTickAndMultiplier)
    {
        const SpeedRow& row = GetParam();
        EXPECT_EQ(speedTypeFromRawValue(row.raw), row.speed);
        EXPECT_EQ(rawValue(row.speed), row.raw);
        EXPECT_EQ(secondsPerTick(row.speed), row.secondsPerTick);
        EXPECT_EQ(speedMultiplier(row.speed), row.multiplier);
        // A tick is half a second of real time.
        EXPECT_EQ(static_cast<double>(row.multiplier) * 0.5, row.secondsPerTick);
    }

    INSTANTIATE_TEST_SUITE_P(Table, Speeds,
        ::testing::Values(SpeedRow { 1, SpeedType::backwardExtraExtraExtraExtraHigh, -50'000'000, -100'000'000 },
            SpeedRow { 2, SpeedType::backwardExtraExtraExtraHigh, -5'000'000, -10'000'000 },
            SpeedRow { 3, SpeedType::backwardExtraExtraHigh, -500'000, -1'000'000 },
            SpeedRow { 4, SpeedType::backwardExtraHigh, -50'000, -100'000 },
            SpeedRow { 5, SpeedType::backwardHigh, -5'000, -10'000 }, SpeedRow { 6, SpeedType::normal, 0.5, 1 },
            SpeedRow { 7, SpeedType::forwardHigh, 5'000, 10'000 },
            SpeedRow { 8, SpeedType::forwardExtraHigh, 50'000, 100'000 },
            SpeedRow { 9, SpeedType::forwardExtraExtraHigh, 500'000, 1'000'000 },
            SpeedRow { 10, SpeedType::forwardExtraExtraExtraHigh, 5'000'000, 10'000'000 },
            SpeedRow { 11, SpeedType::forwardExtraExtraExtraExtraHigh, 50'000'000, 100'000'000 }));

    TEST(Speeds, OtherRawValuesMakeNoSpeed)
    {
        for (const int raw : { 0, 12, -1, std::numeric_limits<int>::min(), std::numeric_limits<int>::max() })
            EXPECT_EQ(speedTypeFromRawValue(raw), std::nullopt) << raw;
    }

    enum class Operation { advance, togglePlayPause, slower, faster, reset };

    struct StepCase {
        const char* name;
        SpeedType speed;
        TimeState state;
        Operation operation;
        int times;
        SpeedType expectedSpeed;
        TimeState expectedState;
        double expectedDate;
        int expectedNotifications;
    };

    void PrintTo(const StepCase& c, std::ostream* os) { *os << c.name; }

    constexpr double start = 1'000'000.0;
    constexpr double resetDate = 42.0;

    class Clock : public ::testing::TestWithParam<StepCase> { };

    TEST_P(Clock, Operation)
    {
        const StepCase& c = GetParam();
        RotationState clock(start);
        clock.setSpeedType(c.speed);
        clock.setTimeState(c.state);
        int notifications = 0;
        QObject::connect(&clock, &RotationState::changed, [&notifications] { ++notifications; });

        for (int i = 0; i < c.times; ++i) {
            switch (c.operation) {
            case Operation::advance:
                clock.advance();
                break;
            case Operation::togglePlayPause:
                clock.togglePlayPause();
                break;
            case Operation::slower:
                clock.slower();
                break;
            case Operation::faster:
                clock.faster();
                break;
            case Operation::reset:
                clock.reset(resetDate);
                break;
            }
        }
        EXPECT_EQ(clock.speedType(), c.expectedSpeed);
        EXPECT_EQ(clock.timeState(), c.expectedState);
        EXPECT_EQ(clock.date(), c.expectedDate);
        EXPECT_EQ(notifications, c.expectedNotifications);
    }

    using enum SpeedType;
    constexpr TimeState play = TimeState::play;
    constexpr TimeState pause = TimeState::pause;

    INSTANTIATE_TEST_SUITE_P(Table, Clock,
        ::testing::Values(
            StepCase { "AdvancePausedKeepsTheDate", normal, pause, Operation::advance, 3, normal, pause, start, 0 },
            StepCase {
                "AdvanceNormalAddsHalfASecond", normal, play, Operation::advance, 1, normal, play, start + 0.5, 1 },
            StepCase { "AdvanceFastestBackward", backwardExtraExtraExtraExtraHigh, play, Operation::advance, 2,
                backwardExtraExtraExtraExtraHigh, play, start - 100'000'000, 2 },
            StepCase { "TenFasterFromTheSlowestReachTheFastest", backwardExtraExtraExtraExtraHigh, pause,
                Operation::faster, 10, forwardExtraExtraExtraExtraHigh, play, start, 20 },
            StepCase { "FasterAtTheTopDoesNothingNotEvenPlay", forwardExtraExtraExtraExtraHigh, pause,
                Operation::faster, 1, forwardExtraExtraExtraExtraHigh, pause, start, 0 },
            StepCase { "SlowerAtTheBottomDoesNothingNotEvenPlay", backwardExtraExtraExtraExtraHigh, pause,
                Operation::slower, 1, backwardExtraExtraExtraExtraHigh, pause, start, 0 },
            StepCase {
                "SlowerFromNormalWhilePausedPlays", normal, pause, Operation::slower, 1, backwardHigh, play, start, 2 },
            StepCase {
                "FasterFromNormalWhilePausedPlays", normal, pause, Operation::faster, 1, forwardHigh, play, start, 2 },
            StepCase { "SlowerDoesNotWrapAround", backwardHigh, play, Operation::slower, 7,
                backwardExtraExtraExtraExtraHigh, play, start, 8 },
            StepCase { "TogglePauses", forwardHigh, play, Operation::togglePlayPause, 1, forwardHigh, pause, start, 1 },
            StepCase {
                "ToggleTwicePlays", forwardHigh, play, Operation::togglePlayPause, 2, forwardHigh, play, start, 2 },
            StepCase { "ResetWhilePausedAtForwardHigh", forwardHigh, pause, Operation::reset, 1, normal, play,
                resetDate, 3 }));

    TEST(Clock, EveryAssignmentNotifiesAfterStoringTheValue)
    {
        RotationState clock(start);
        std::vector<double> seen;
        QObject::connect(&clock, &RotationState::changed, [&] { seen.push_back(clock.date()); });
        clock.setDate(start); // unchanged, still an assignment
        clock.setDate(7.0);
        clock.setTimeState(TimeState::play);
        clock.setSpeedType(SpeedType::normal);
        EXPECT_EQ(seen, (std::vector<double> { start, 7.0, 7.0, 7.0 }));
    }

    TEST(Clock, SetDateChangesTheDateAlone)
    {
        RotationState clock(start);
        clock.setSpeedType(SpeedType::forwardExtraHigh);
        clock.setTimeState(TimeState::pause);
        clock.setDate(1e15);
        EXPECT_EQ(clock.date(), 1e15);
        EXPECT_EQ(clock.speedType(), SpeedType::forwardExtraHigh);
        EXPECT_EQ(clock.timeState(), TimeState::pause);
    }

    TEST(Clock, RefusesDatesThatAreNotNumbers)
    {
        RotationState clock(start);
        int notifications = 0;
        QObject::connect(&clock, &RotationState::changed, [&notifications] { ++notifications; });
        for (const double bad :
            { std::nan(""), std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity() }) {
            clock.setDate(bad);
            clock.reset(bad);
        }
        EXPECT_EQ(clock.date(), start);
        EXPECT_EQ(notifications, 6); // the play state and speed of each reset, never the date
    }

    TEST(Clock, QueriesFollowTheSpeed)
    {
        RotationState clock(start);
        clock.setSpeedType(SpeedType::backwardExtraExtraExtraExtraHigh);
        EXPECT_FALSE(clock.canGoSlower());
        EXPECT_TRUE(clock.canGoFaster());
        EXPECT_EQ(clock.speedMultiplier(), -100'000'000);
        clock.setSpeedType(SpeedType::forwardExtraExtraExtraExtraHigh);
        EXPECT_TRUE(clock.canGoSlower());
        EXPECT_FALSE(clock.canGoFaster());
    }

    TEST(AppState, CreatesTheClockNowPlayingAtNormalSpeed)
    {
        setFixedCurrentDate(1'706'659'200.25);
        const AppState state;
        setFixedCurrentDate(std::nullopt);
        EXPECT_EQ(state.rotation().date(), 1'706'659'200.25);
        EXPECT_EQ(state.rotation().timeState(), TimeState::play);
        EXPECT_EQ(state.rotation().speedType(), SpeedType::normal);
    }

    TEST(CurrentDate, FollowsTheSystemClockUnlessPinned)
    {
        const auto system = static_cast<double>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::system_clock::now().time_since_epoch())
                                                    .count())
            / 1000.0;
        EXPECT_NEAR(currentDate(), system, 5.0);
        setFixedCurrentDate(-1.0);
        EXPECT_EQ(currentDate(), -1.0);
        setFixedCurrentDate(std::nullopt);
        EXPECT_NEAR(currentDate(), system, 5.0);
    }

} // namespace
} // namespace heliora
