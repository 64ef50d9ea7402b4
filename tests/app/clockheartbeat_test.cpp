#include "app/clockheartbeat.h"

#include "app/mainwindow.h"
#include "app/planetsview.h"
#include "clock/rotationstate.h"
#include "support/scopedenv.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace heliora {
namespace {

    constexpr double start = 1706702400.0;

    TEST(ClockHeartbeat, BeatsOnlyWhileAWatchedWindowIsVisible)
    {
        RotationState clock(start);
        ClockHeartbeat heartbeat(clock);
        QWidget first, second, unwatched;
        heartbeat.watch(&first);
        heartbeat.watch(&second);
        heartbeat.watch(&second);
        EXPECT_FALSE(heartbeat.isBeating()) << "built, never shown";
        unwatched.show();
        EXPECT_FALSE(heartbeat.isBeating());
        first.show();
        EXPECT_TRUE(heartbeat.isBeating());
        second.show();
        first.hide();
        EXPECT_TRUE(heartbeat.isBeating()) << "one window is still shown";
        second.hide();
        EXPECT_FALSE(heartbeat.isBeating());

        auto third = std::make_unique<QWidget>();
        heartbeat.watch(third.get());
        third->show();
        EXPECT_TRUE(heartbeat.isBeating());
        third.reset(); // deleted while shown
        EXPECT_FALSE(heartbeat.isBeating());
        first.showMinimized(); // the date runs on behind a minimised window
        EXPECT_TRUE(heartbeat.isBeating());
    }

    // Views have no timer of their own: however many views show one clock, one heartbeat moves it, 0.5 s a beat.
    TEST(ClockHeartbeat, TwoViewsOnOneClockAdvanceItAtTheNormalRate)
    {
        QTemporaryDir config;
        const test::ScopedEnv env { { "XDG_CONFIG_HOME", qPrintable(config.path()) } };
        RotationState clock(start);
        ClockHeartbeat heartbeat(clock);
        MainWindow first(clock, {});
        MainWindow second(clock, {});
        const PlanetsView neverShown(clock, {});
        heartbeat.watch(&first);
        heartbeat.watch(&second);
        first.show();
        second.show();

        auto* timer = heartbeat.findChild<QTimer*>();
        ASSERT_NE(timer, nullptr);
        int beats = 0;
        QObject::connect(timer, &QTimer::timeout, [&beats] { ++beats; });
        ASSERT_TRUE(QTest::qWaitFor([&beats] { return beats >= 2; }, 10'000));
        EXPECT_EQ(clock.date(), start + 0.5 * beats);

        // A paused clock ignores the beats.
        clock.togglePlayPause();
        const int before = beats;
        ASSERT_TRUE(QTest::qWaitFor([&] { return beats > before; }, 10'000));
        EXPECT_EQ(clock.date(), start + 0.5 * before);
    }

} // namespace
} // namespace heliora
