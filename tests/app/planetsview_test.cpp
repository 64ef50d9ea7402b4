#include "mainwindow.h"
#include "planetsview.h"

#include "appearance.h"
#include "currentdate.h"
#include "fittinglabel.h"
#include "glyphbutton.h"
#include "rotationstate.h"
#include "scopedenv.h"
#include "sharedsettings.h"
#include "solarsystemview.h"
#include "widgettestenvironment.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

namespace heliora {
namespace {

    constexpr double now = 1706702400.0; // 2024-01-31T12:00:00Z
    constexpr double day = 86400.0;

    /// A main window on a fresh clock, with "now" pinned, UTC, and a settings folder of its own.
    class PlanetsViewTest : public ::testing::Test {
    protected:
        PlanetsViewTest()
            : m_env { { "TZ", "UTC" }, { "XDG_CONFIG_HOME", qPrintable(m_config.path()) } }
        {
            setFixedCurrentDate(now);
            m_rotation = std::make_unique<RotationState>(now);
            m_window = std::make_unique<MainWindow>(*m_rotation);
        }
        ~PlanetsViewTest() override { setFixedCurrentDate(std::nullopt); }

        PlanetsView& view() { return m_window->planetsView(); }
        RotationState& rotation() { return *m_rotation; }

        QTemporaryDir m_config;
        test::ScopedEnv m_env;
        std::unique_ptr<RotationState> m_rotation;
        std::unique_ptr<MainWindow> m_window;
    };

    TEST_F(PlanetsViewTest, AtStartShowsTodayPlayingAtNormalSpeed)
    {
        EXPECT_EQ(view().size(), QSize(500, 700));
        EXPECT_EQ(view().dateLabel().text(), QStringLiteral("01/31/2024"));
        EXPECT_EQ(view().captionLabel().text(), QString());
        EXPECT_EQ(view().speedLabel().text(), QStringLiteral("1×"));
        EXPECT_EQ(view().dateLabel().palette().color(QPalette::WindowText), colors::orange());
        EXPECT_EQ(view().captionLabel().palette().color(QPalette::WindowText), colors::orange());
        for (GlyphButton* button : { &view().backwardButton(), &view().playPauseButton(), &view().forwardButton() }) {
            EXPECT_TRUE(button->isEnabled());
            EXPECT_EQ(button->drawnOpacity(), 1.0);
        }
        EXPECT_EQ(view().playPauseButton().glyph(), "pause.fill");
        EXPECT_EQ(test::accessibleName(&view().playPauseButton()), QStringLiteral("Pause"));
        EXPECT_EQ(view().orrery().inputs().diameter, 400.0);
        EXPECT_FALSE(view().orrery().inputs().showPluto);
        EXPECT_TRUE(view().tickTimer().isActive());
        EXPECT_EQ(view().tickTimer().interval(), 500);
        EXPECT_EQ(view().tickTimer().timerType(), Qt::PreciseTimer);
    }

    TEST_F(PlanetsViewTest, PausingTurnsTheTextsGreyAndStopsTheTicks)
    {
        view().playPauseButton().click();
        EXPECT_EQ(rotation().timeState(), TimeState::pause);
        EXPECT_EQ(view().dateLabel().palette().color(QPalette::WindowText), colors::gray());
        EXPECT_EQ(view().speedLabel().text(), QStringLiteral("Pause"));
        EXPECT_EQ(view().playPauseButton().glyph(), "play.fill");
        EXPECT_EQ(view().playPauseButton().toolTip(), QStringLiteral("Play"));
        view().tick();
        EXPECT_EQ(rotation().date(), now);

        view().playPauseButton().click();
        view().tick();
        EXPECT_EQ(rotation().date(), now + 0.5);
        EXPECT_EQ(view().dateLabel().palette().color(QPalette::WindowText), colors::orange());
    }

    struct EndCase {
        SpeedType speed;
        bool backwardEnabled;
        bool forwardEnabled;
        const char* label;
    };

    void PrintTo(const EndCase& c, std::ostream* os) { *os << c.label; }

    class PlanetsViewSpeeds : public PlanetsViewTest, public ::testing::WithParamInterface<EndCase> { };

    TEST_P(PlanetsViewSpeeds, ButtonsAndLabelFollowTheSpeed)
    {
        rotation().setSpeedType(GetParam().speed);
        EXPECT_EQ(view().backwardButton().isEnabled(), GetParam().backwardEnabled);
        EXPECT_EQ(view().backwardButton().drawnOpacity(), GetParam().backwardEnabled ? 1.0 : 0.5);
        EXPECT_EQ(view().forwardButton().isEnabled(), GetParam().forwardEnabled);
        EXPECT_EQ(view().forwardButton().drawnOpacity(), GetParam().forwardEnabled ? 1.0 : 0.5);
        EXPECT_EQ(view().speedLabel().text(), QString::fromUtf8(GetParam().label));
    }

    INSTANTIATE_TEST_SUITE_P(Ends, PlanetsViewSpeeds,
        ::testing::Values(EndCase { SpeedType::backwardExtraExtraExtraExtraHigh, false, true, "-100000000×" },
            EndCase { SpeedType::backwardHigh, true, true, "-10000×" },
            EndCase { SpeedType::forwardExtraExtraExtraExtraHigh, true, false, "100000000×" }));

    TEST_F(PlanetsViewTest, ButtonsStepTheSpeedAndResumeAPausedClock)
    {
        view().playPauseButton().click();
        view().backwardButton().click();
        EXPECT_EQ(rotation().speedType(), SpeedType::backwardHigh);
        EXPECT_EQ(rotation().timeState(), TimeState::play);
        view().forwardButton().click();
        view().forwardButton().click();
        EXPECT_EQ(rotation().speedType(), SpeedType::forwardHigh);
        EXPECT_EQ(view().speedLabel().text(), QStringLiteral("10000×"));
    }

    TEST_F(PlanetsViewTest, TickAtTopSpeedMovesTheDateAndAnimatesThePlanets)
    {
        m_window->show();
        rotation().setSpeedType(SpeedType::forwardExtraExtraExtraExtraHigh);
        view().tick();
        EXPECT_EQ(rotation().date(), now + 50'000'000.0);
        EXPECT_TRUE(view().orrery().isAnimating());
        EXPECT_EQ(view().orrery().inputs().date, rotation().date());
        // A date set by anything but the tick jumps.
        rotation().setDate(now);
        EXPECT_FALSE(view().orrery().isAnimating());
    }

    TEST_F(PlanetsViewTest, CaptionCountsDaysThenYears)
    {
        rotation().setDate(now + 2 * day);
        EXPECT_EQ(view().captionLabel().text(), QStringLiteral("2 DAYS"));
        rotation().setDate(now - 400 * day);
        EXPECT_EQ(view().captionLabel().text(), QStringLiteral("-1 YEAR"));
        rotation().setDate(now + 0.5 * day);
        EXPECT_EQ(view().captionLabel().text(), QString());
    }

    TEST_F(PlanetsViewTest, DateLinksSetTheDateAloneAndBadLinksChangeNothing)
    {
        rotation().setSpeedType(SpeedType::forwardHigh);
        view().playPauseButton().click();
        EXPECT_TRUE(m_window->openLink(QStringLiteral("heliora://?date=20200229")));
        EXPECT_EQ(rotation().date(), 1582934400.0);
        EXPECT_EQ(rotation().timeState(), TimeState::pause);
        EXPECT_EQ(rotation().speedType(), SpeedType::forwardHigh);
        EXPECT_EQ(view().dateLabel().text(), QStringLiteral("02/29/2020"));

        for (const char* bad : { "heliora://?date=2024013", "heliora://?date=20241341", "Heliora://?date=20240131",
                 "heliora://?Date=20240131", "https://example.org/?date=20240131", "" }) {
            EXPECT_FALSE(m_window->openLink(QString::fromLatin1(bad))) << bad;
            EXPECT_EQ(rotation().date(), 1582934400.0) << bad;
        }
        EXPECT_EQ(rotation().timeState(), TimeState::pause);
    }

    TEST_F(PlanetsViewTest, ResetReturnsToNowPlayingAtNormalSpeed)
    {
        rotation().setDate(now + 1e9);
        rotation().setSpeedType(SpeedType::forwardExtraHigh);
        view().playPauseButton().click();
        EXPECT_EQ(test::accessibleName(&m_window->resetButton()), QStringLiteral("Reset"));
        EXPECT_TRUE(m_window->resetButton().toolTip().isEmpty());
        m_window->resetButton().click();
        EXPECT_EQ(rotation().date(), now);
        EXPECT_EQ(rotation().timeState(), TimeState::play);
        EXPECT_EQ(rotation().speedType(), SpeedType::normal);
    }

    TEST_F(PlanetsViewTest, PlutoFollowsTheSharedSetting)
    {
        SharedSettings settings;
        ASSERT_TRUE(settings.setShowPluto(true));
        EXPECT_TRUE(view().orrery().inputs().showPluto);
        ASSERT_TRUE(settings.setShowPluto(false));
        EXPECT_FALSE(view().orrery().inputs().showPluto);
    }

    TEST_F(PlanetsViewTest, ClickingABodyOpensItsFactWindow)
    {
        const auto titled = [](const QString& title) {
            int count = 0;
            for (QWidget* w : QApplication::topLevelWidgets())
                count += w->windowTitle() == title && w->isVisible() ? 1 : 0;
            return count;
        };
        view().orrery().press(SolarSystemObject::planet(Planet::mars));
        view().orrery().press(SolarSystemObject::sun());
        EXPECT_EQ(titled(QStringLiteral("Mars")), 1);
        EXPECT_EQ(titled(QStringLiteral("Sun")), 1);
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->windowTitle() == QLatin1String("Mars") || w->windowTitle() == QLatin1String("Sun"))
                w->close();
        }
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(titled(QStringLiteral("Mars")), 0);
    }

} // namespace
} // namespace heliora
