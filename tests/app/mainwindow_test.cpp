#include "app/mainwindow.h"
#include "app/planetsview.h"

#include "app/detailwindowcontroller.h"
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
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

namespace heliora {
namespace {

    constexpr double now = 1706702400.0; // 2024-01-31T12:00:00Z

    /// A main window on a fresh clock, with "now" pinned, UTC, and a settings folder of its own.
    class MainWindowTest : public ::testing::Test {
    protected:
        ~MainWindowTest() override { setFixedCurrentDate(std::nullopt); }
        PlanetsView& view() { return window.planetsView(); }

        bool pinned = (setFixedCurrentDate(now), true); // before the window reads the date
        QTemporaryDir config;
        test::ScopedEnv env { { "TZ", "UTC" }, { "XDG_CONFIG_HOME", qPrintable(config.path()) } };
        RotationState rotation { now };
        MainWindow window { rotation };
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

    TEST_P(ClockControls, ShowTheClockState)
    {
        const ControlsCase& c = GetParam();
        if (c.speed != SpeedType::normal)
            rotation.setSpeedType(c.speed);
        if (c.paused)
            view().playPauseButton().click();
        EXPECT_EQ(view().dateLabel().text(), QStringLiteral("01/31/2024"));
        EXPECT_EQ(view().captionLabel().text(), QString());
        EXPECT_EQ(view().speedLabel().text(), QString::fromUtf8(c.speedText));
        EXPECT_EQ(view().dateLabel().palette().windowText().color(), c.paused ? colors::gray : colors::orange);
        EXPECT_EQ(view().playPauseButton().glyph(), c.paused ? "play.fill" : "pause.fill");
        const QString action = c.paused ? QStringLiteral("Play") : QStringLiteral("Pause");
        EXPECT_EQ(view().playPauseButton().toolTip(), action);
        EXPECT_EQ(view().playPauseButton().accessibleName(), action);
        EXPECT_EQ(view().backwardButton().isEnabled(), c.backwardEnabled);
        EXPECT_EQ(view().forwardButton().isEnabled(), c.forwardEnabled);
    }

    INSTANTIATE_TEST_SUITE_P(States, ClockControls,
        ::testing::Values(ControlsCase { "AtStart", SpeedType::normal, false, "1×", true, true },
            ControlsCase { "Paused", SpeedType::normal, true, "Pause", true, true },
            ControlsCase { "Slowest", SpeedType::backwardExtraExtraExtraExtraHigh, false, "-100000000×", false, true },
            ControlsCase { "Fastest", SpeedType::forwardExtraExtraExtraExtraHigh, false, "100000000×", true, false }),
        [](const auto& info) { return std::string(info.param.name); });

    TEST_F(MainWindowTest, TicksAdvanceOnlyWhilePlayingAndAnimateTheOrrery)
    {
        window.show();
        EXPECT_TRUE(view().tickTimer().isActive());
        EXPECT_EQ(view().tickTimer().interval(), 500);
        view().playPauseButton().click();
        view().tick();
        EXPECT_EQ(rotation.date(), now);

        // The speed buttons step the clock, and resume it when paused.
        view().forwardButton().click();
        view().backwardButton().click();
        view().backwardButton().click();
        EXPECT_EQ(rotation.speedType(), SpeedType::backwardHigh);
        rotation.setSpeedType(SpeedType::forwardExtraExtraExtraExtraHigh);
        view().tick();
        EXPECT_EQ(rotation.date(), now + 50'000'000.0);
        EXPECT_TRUE(view().orrery().isAnimating());
        EXPECT_EQ(view().orrery().inputs().date, rotation.date());
        // A date set by anything but the tick jumps.
        rotation.setDate(now);
        EXPECT_FALSE(view().orrery().isAnimating());
    }

    TEST_F(MainWindowTest, DateLinksSetTheDateAloneAndResetReturnsToNow)
    {
        rotation.setSpeedType(SpeedType::forwardHigh);
        view().playPauseButton().click();
        EXPECT_TRUE(window.openLink(QStringLiteral("heliora://?date=20200229")));
        EXPECT_EQ(rotation.date(), 1582934400.0);
        EXPECT_EQ(rotation.timeState(), TimeState::pause);
        EXPECT_EQ(rotation.speedType(), SpeedType::forwardHigh);
        EXPECT_EQ(view().dateLabel().text(), QStringLiteral("02/29/2020"));
        EXPECT_EQ(view().captionLabel().text(), QStringLiteral("-3 YEARS"));

        for (const char* bad : { "heliora://?date=2024013", "heliora://?date=20241341", "Heliora://?date=20240131",
                 "heliora://?Date=20240131", "https://example.org/?date=20240131", "" }) {
            EXPECT_FALSE(window.openLink(QString::fromLatin1(bad))) << bad;
            EXPECT_EQ(rotation.date(), 1582934400.0) << bad;
        }

        EXPECT_EQ(window.resetButton().accessibleName(), QStringLiteral("Reset"));
        window.resetButton().click();
        EXPECT_EQ(rotation.date(), now);
        EXPECT_EQ(rotation.timeState(), TimeState::play);
        EXPECT_EQ(rotation.speedType(), SpeedType::normal);
    }

    TEST_F(MainWindowTest, PlutoFollowsTheSharedSetting)
    {
        SharedSettings settings;
        ASSERT_TRUE(settings.setShowPluto(true));
        EXPECT_TRUE(view().orrery().inputs().showPluto);
        ASSERT_TRUE(settings.setShowPluto(false));
        EXPECT_FALSE(view().orrery().inputs().showPluto);
    }

    TEST_F(MainWindowTest, ClickingABodyInTheOrreryOrTheListOpensItsFactWindow)
    {
        view().orrery().press(SolarSystemObject::planet(Planet::mars));
        view().orrery().press(SolarSystemObject::sun());
        const SolarSystemListView list([](const SolarSystemObject& body) { openDetailWindow(body); });
        const auto* venusRow = list.findChild<QWidget*>(QStringLiteral("venus"));
        ASSERT_NE(venusRow, nullptr);
        venusRow->findChild<QPushButton*>(QStringLiteral("open_fact_sheet"))->click();
        QStringList titles;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<DetailWindowController*>(w) && w->isVisible())
                titles.append(w->windowTitle());
        }
        deleteOpenDetailWindows();
        titles.sort();
        EXPECT_EQ(titles, QStringList({ QStringLiteral("Mars"), QStringLiteral("Sun"), QStringLiteral("Venus") }));
    }

} // namespace
} // namespace heliora
