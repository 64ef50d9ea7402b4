#include "app/mainwindow.h"

#include "app/glyphbutton.h"
#include "clock/currentdate.h"
#include "clock/rotationstate.h"
#include "support/rows.h"
#include "support/scopedenv.h"
#include "views/fittinglabel.h"
#include "views/solarsystemview.h"
#include "views/theme.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace heliora {
namespace {

    using test::PrintTo;

    constexpr double now = 1706702400.0; // 2024-01-31T12:00:00Z
    constexpr SpeedType slowest = SpeedType::backwardExtraExtraExtraExtraHigh;
    constexpr SpeedType fastest = SpeedType::forwardExtraExtraExtraExtraHigh;

    /// A main window on a fresh clock, with "now" pinned, UTC, and a settings folder of its own.
    class MainWindowTest : public ::testing::Test {
    protected:
        ~MainWindowTest() override { setFixedCurrentDate(std::nullopt); }

        template <typename T> T& child(const char* name)
        {
            T* found = window.findChild<T*>(QLatin1String(name));
            EXPECT_NE(found, nullptr) << name;
            return *found;
        }
        GlyphButton& button(const char* name) { return child<GlyphButton>(name); }
        SolarSystemView& orrery() { return child<SolarSystemView>("orrery"); }
        QString text(const char* name) { return child<QLabel>(name).text(); }

        void showActive()
        {
            window.show();
            window.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        }

        bool pinned = (setFixedCurrentDate(now), true); // before the window reads the date
        QTemporaryDir config;
        test::ScopedEnv env { { "TZ", "UTC" }, { "XDG_CONFIG_HOME", qPrintable(config.path()) } };
        RotationState rotation { now };
        MainWindow window { rotation, {} };
    };

    // The clock's state as the controls show it, and which speed buttons are enabled.
    struct ControlsCase {
        const char* name;
        SpeedType speed;
        bool paused = false;
        const char* speedText;
        bool backwardEnabled = true, forwardEnabled = true;
    };

    class ClockControls : public MainWindowTest, public ::testing::WithParamInterface<ControlsCase> { };

    TEST_P(ClockControls, ShowTheClockState)
    {
        const ControlsCase& c = GetParam();
        rotation.setSpeedType(c.speed);
        if (c.paused)
            button("play_pause").click();
        EXPECT_EQ(text("date"), QStringLiteral("01/31/2024"));
        EXPECT_EQ(text("caption"), QString());
        EXPECT_EQ(text("speed"), QString::fromUtf8(c.speedText));
        EXPECT_EQ(child<FittingLabel>("date").palette().windowText().color(), c.paused ? colors::gray : colors::orange);
        EXPECT_EQ(button("play_pause").glyph(), c.paused ? "play.fill" : "pause.fill");
        const QString action = c.paused ? QStringLiteral("Play") : QStringLiteral("Pause");
        EXPECT_EQ(button("play_pause").toolTip(), action + QStringLiteral(" (Space)"));
        EXPECT_EQ(button("play_pause").accessibleName(), action);
        EXPECT_EQ(button("backward").isEnabled(), c.backwardEnabled);
        EXPECT_EQ(button("forward").isEnabled(), c.forwardEnabled);
    }

    // clang-format off
    const ControlsCase controls[] = {
        { .name = "AtStart", .speed = SpeedType::normal, .speedText = "1×" },
        { .name = "Paused", .speed = SpeedType::normal, .paused = true, .speedText = "Pause" },
        { .name = "Slowest", .speed = slowest, .speedText = "-100000000×", .backwardEnabled = false },
        { .name = "Fastest", .speed = fastest, .speedText = "100000000×", .forwardEnabled = false },
    };
    // clang-format on

    INSTANTIATE_TEST_SUITE_P(States, ClockControls, ::testing::ValuesIn(controls), test::rowName);

    // The buttons name their keys; the speed buttons step backward and forward, slower or faster they are not.
    TEST_F(MainWindowTest, ButtonsNameTheirKeys)
    {
        EXPECT_EQ(button("backward").toolTip(), QStringLiteral("Backward (Left)"));
        EXPECT_EQ(button("backward").accessibleName(), QStringLiteral("Backward"));
        EXPECT_EQ(button("forward").toolTip(), QStringLiteral("Forward (Right)"));
        EXPECT_EQ(button("forward").accessibleName(), QStringLiteral("Forward"));
        EXPECT_EQ(child<QToolButton>("reset").toolTip(), QStringLiteral("Reset (Home)"));
    }

    // A key of the main window, from a clock state, and the state it leaves.
    struct KeyCase {
        const char* name;
        Qt::Key key;
        SpeedType speed;
        bool paused = false;
        SpeedType speedAfter;
        bool pausedAfter = false;
        bool backToNow = false;
    };

    class ClockKeys : public MainWindowTest, public ::testing::WithParamInterface<KeyCase> { };

    TEST_P(ClockKeys, ActWhateverHasFocus)
    {
        const KeyCase& c = GetParam();
        showActive();
        // Nothing holds focus unseen on a fresh window: Space must not press a clock button.
        EXPECT_EQ(qobject_cast<QAbstractButton*>(QApplication::focusWidget()), nullptr);
        rotation.setDate(now - 86400);
        rotation.setSpeedType(c.speed);
        rotation.setTimeState(c.paused ? TimeState::pause : TimeState::play);
        QTest::keyClick(&window, c.key);
        EXPECT_EQ(rotation.speedType(), c.speedAfter);
        EXPECT_EQ(rotation.timeState(), c.pausedAfter ? TimeState::pause : TimeState::play);
        EXPECT_EQ(rotation.date(), c.backToNow ? now : now - 86400);
    }

    using enum SpeedType;

    // clang-format off
    const KeyCase keys[] = {
        { .name = "SpacePauses", .key = Qt::Key_Space, .speed = normal, .speedAfter = normal, .pausedAfter = true },
        { .name = "SpacePlays", .key = Qt::Key_Space, .speed = forwardHigh, .paused = true, .speedAfter = forwardHigh },
        { .name = "RightStepsForward", .key = Qt::Key_Right, .speed = normal, .speedAfter = forwardHigh },
        { .name = "LeftStepsBackwardAndPlays", .key = Qt::Key_Left, .speed = normal, .paused = true,
            .speedAfter = backwardHigh },
        { .name = "RightAtTheEndDoesNothing", .key = Qt::Key_Right, .speed = fastest, .paused = true,
            .speedAfter = fastest, .pausedAfter = true },
        { .name = "LeftAtTheEndDoesNothing", .key = Qt::Key_Left, .speed = slowest, .paused = true,
            .speedAfter = slowest, .pausedAfter = true },
        { .name = "HomeResetsToToday", .key = Qt::Key_Home, .speed = forwardHigh, .paused = true, .speedAfter = normal,
            .backToNow = true },
    };
    // clang-format on

    INSTANTIATE_TEST_SUITE_P(Keys, ClockKeys, ::testing::ValuesIn(keys), test::rowName);

    TEST_F(MainWindowTest, TicksGlideAndOtherDateChangesJump)
    {
        window.show();
        rotation.setSpeedType(fastest);
        rotation.advance();
        EXPECT_TRUE(orrery().isAnimating());
        EXPECT_EQ(orrery().inputs().date, now + 50'000'000.0);
        rotation.setDate(now);
        EXPECT_FALSE(orrery().isAnimating());
        EXPECT_EQ(orrery().inputs().date, now);
    }

    TEST_F(MainWindowTest, ResetButtonReturnsToNowPlayingAtNormalSpeed)
    {
        rotation.setDate(1582934400.0);
        rotation.setSpeedType(forwardHigh);
        rotation.togglePlayPause();
        EXPECT_EQ(text("caption"), QStringLiteral("-3 YEARS"));
        child<QToolButton>("reset").click();
        EXPECT_EQ(rotation.date(), now);
        EXPECT_EQ(rotation.timeState(), TimeState::play);
        EXPECT_EQ(rotation.speedType(), normal);
        EXPECT_EQ(text("date"), QStringLiteral("01/31/2024"));
    }

} // namespace
} // namespace heliora
