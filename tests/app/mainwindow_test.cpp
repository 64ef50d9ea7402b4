#include "app/mainwindow.h"

#include "app/glyphbutton.h"
#include "clock/currentdate.h"
#include "clock/rotationstate.h"
#include "settings/sharedsettings.h"
#include "support/scopedenv.h"
#include "views/fittinglabel.h"
#include "views/solarsystemlistview.h"
#include "views/solarsystemview.h"
#include "views/theme.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <vector>

namespace heliora {
namespace {

    constexpr double now = 1706702400.0; // 2024-01-31T12:00:00Z
    constexpr SpeedType slowest = SpeedType::backwardExtraExtraExtraExtraHigh;
    constexpr SpeedType fastest = SpeedType::forwardExtraExtraExtraExtraHigh;

    /// A main window on a fresh clock, with "now" pinned, UTC, and a settings folder of its own. Bodies that the
    /// window asks to open are collected.
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
        std::vector<SolarSystemObject> opened;
        MainWindow window { rotation, [this](const SolarSystemObject& body) { opened.push_back(body); } };
    };

    struct ControlsCase {
        const char* name;
        SpeedType speed;
        bool paused;
        const char* speedText;
        bool backwardEnabled, forwardEnabled;
    };

    void PrintTo(const ControlsCase& c, std::ostream* os) { *os << c.name; }

    class ClockControls : public MainWindowTest, public ::testing::WithParamInterface<ControlsCase> { };

    TEST_P(ClockControls, ShowTheClockStateAndNameTheirKeys)
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
        // The speed buttons step backward and forward through the speeds; slower or faster they are not.
        EXPECT_EQ(button("backward").toolTip(), QStringLiteral("Backward (Left)"));
        EXPECT_EQ(button("backward").accessibleName(), QStringLiteral("Backward"));
        EXPECT_EQ(button("forward").toolTip(), QStringLiteral("Forward (Right)"));
        EXPECT_EQ(button("forward").accessibleName(), QStringLiteral("Forward"));
        EXPECT_EQ(child<QToolButton>("reset").toolTip(), QStringLiteral("Reset (Home)"));
    }

    INSTANTIATE_TEST_SUITE_P(States, ClockControls,
        ::testing::Values(ControlsCase { "AtStart", SpeedType::normal, false, "1×", true, true },
            ControlsCase { "Paused", SpeedType::normal, true, "Pause", true, true },
            ControlsCase { "Slowest", slowest, false, "-100000000×", false, true },
            ControlsCase { "Fastest", fastest, false, "100000000×", true, false }),
        [](const auto& info) { return std::string(info.param.name); });

    // A key of the main window, from a clock state, and the state it leaves.
    struct KeyCase {
        const char* name;
        Qt::Key key;
        SpeedType speed;
        bool paused;
        SpeedType expectedSpeed;
        bool expectedPaused;
        bool expectedNow; // the date is back at now
    };

    void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

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
        EXPECT_EQ(rotation.speedType(), c.expectedSpeed);
        EXPECT_EQ(rotation.timeState(), c.expectedPaused ? TimeState::pause : TimeState::play);
        EXPECT_EQ(rotation.date(), c.expectedNow ? now : now - 86400);
    }

    using enum SpeedType;

    INSTANTIATE_TEST_SUITE_P(Keys, ClockKeys,
        ::testing::Values(KeyCase { "SpacePauses", Qt::Key_Space, normal, false, normal, true, false },
            KeyCase { "SpacePlays", Qt::Key_Space, forwardHigh, true, forwardHigh, false, false },
            KeyCase { "RightStepsForward", Qt::Key_Right, normal, false, forwardHigh, false, false },
            KeyCase { "LeftStepsBackwardAndPlays", Qt::Key_Left, normal, true, backwardHigh, false, false },
            KeyCase { "RightAtTheEndDoesNothing", Qt::Key_Right, fastest, true, fastest, true, false },
            KeyCase { "LeftAtTheEndDoesNothing", Qt::Key_Left, slowest, true, slowest, true, false },
            KeyCase { "HomeResetsToToday", Qt::Key_Home, forwardHigh, true, normal, false, true }),
        [](const auto& info) { return std::string(info.param.name); });

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

    TEST_F(MainWindowTest, PlutoFollowsTheSharedSetting)
    {
        SharedSettings settings;
        ASSERT_TRUE(settings.setShowPluto(true));
        EXPECT_TRUE(orrery().inputs().showPluto);
        ASSERT_TRUE(settings.setShowPluto(false));
        EXPECT_FALSE(orrery().inputs().showPluto);
    }

    TEST_F(MainWindowTest, ClickingABodyAsksToOpenIt)
    {
        orrery().press(SolarSystemObject::planet(Planet::mars));
        orrery().press(SolarSystemObject::sun());
        EXPECT_EQ(opened, (std::vector { SolarSystemObject::planet(Planet::mars), SolarSystemObject::sun() }));
    }

} // namespace
} // namespace heliora
