#include "support/rows.h"
#include "widget-host/reloadschedule.h"
#include "widget-host/wallclockalarm.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

namespace heliora::host {
namespace {

    using test::PrintTo;

    TEST(ReloadSchedule, WaitsForTheEarliestDate)
    {
        ReloadSchedule schedule;
        EXPECT_EQ(schedule.nextDate(), std::nullopt);
        schedule.reloaded(1, 1000, 1900);
        schedule.reloaded(2, 1000, 1300);
        schedule.reloaded(3, 1000, 1900);
        EXPECT_EQ(schedule.nextDate(), 1300);
        EXPECT_EQ(schedule.due(1299.9), QList<int>());
        EXPECT_EQ(schedule.due(1300), QList<int> { 2 });
        EXPECT_EQ(schedule.due(2000), (QList<int> { 1, 2, 3 })); // one alarm serves all widgets due by then
        schedule.reloaded(2, 1300, 2200);
        EXPECT_EQ(schedule.nextDate(), 1900);
        schedule.remove(1);
        schedule.remove(3);
        EXPECT_EQ(schedule.nextDate(), 2200);
    }

    struct GuardCase {
        std::string name;
        double now, reloadDate;
        std::optional<double> expected;
    };

    class ReloadGuard : public ::testing::TestWithParam<GuardCase> { };

    // A reload date that would keep the host busy is moved to a few seconds on; one that is no date ends reloads.
    TEST_P(ReloadGuard, KeepsTheHostFromSpinning)
    {
        ReloadSchedule schedule;
        schedule.reloaded(7, GetParam().now, GetParam().reloadDate);
        EXPECT_EQ(schedule.nextDate(), GetParam().expected);
    }

    INSTANTIATE_TEST_SUITE_P(Table, ReloadGuard,
        ::testing::Values(GuardCase { "Later", 100, 1000, 1000.0 },
            GuardCase { "Now", 100, 100, 100 + ReloadSchedule::minimumGap },
            GuardCase { "Past", 100, 50, 100 + ReloadSchedule::minimumGap },
            GuardCase { "NotFinite", 100, std::nan(""), std::nullopt },
            GuardCase { "Infinite", 100, INFINITY, std::nullopt }),
        test::rowName);

    double wallNow()
    {
        using namespace std::chrono;
        return duration<double>(system_clock::now().time_since_epoch()).count();
    }

    // A date that has passed rings at once (the machine slept through it); disarming stops a pending alarm.
    TEST(WallClockAlarm, RingsForAPastDateAndNotWhenDisarmed)
    {
        WallClockAlarm alarm;
        ASSERT_TRUE(alarm.isValid());
        QSignalSpy rang(&alarm, &WallClockAlarm::rang);
        alarm.arm(wallNow() - 3600);
        EXPECT_TRUE(alarm.isArmed());
        EXPECT_TRUE(rang.wait(10000));
        EXPECT_FALSE(alarm.isArmed());

        alarm.arm(wallNow() + 0.05);
        alarm.disarm();
        EXPECT_FALSE(alarm.isArmed());
        EXPECT_FALSE(rang.wait(300));
        EXPECT_EQ(rang.size(), 1);

        alarm.arm(std::nan(""));
        EXPECT_FALSE(alarm.isArmed());
    }

} // namespace
} // namespace heliora::host
