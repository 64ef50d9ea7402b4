#include "app/helioraapplication.h"

#include "app/detailwindowcontroller.h"
#include "app/glyphbutton.h"
#include "app/mainwindow.h"
#include "app/settingswindow.h"
#include "clock/currentdate.h"
#include "strings/stringtable.h"
#include "support/rows.h"
#include "support/scopedenv.h"
#include "views/solarsystemview.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <gtest/gtest.h>

namespace heliora {
namespace {

    using test::PrintTo;

    constexpr double now = 1706702400.0; // 2024-01-31T12:00:00Z
    constexpr double leapDay2020 = 1582934400.0; // 2020-02-29T00:00:00Z

    QStringList visibleFactWindows()
    {
        QStringList titles;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (qobject_cast<DetailWindowController*>(window) && window->isVisible())
                titles.append(window->windowTitle());
        }
        titles.sort();
        return titles;
    }

    class Application : public ::testing::Test {
    protected:
        ~Application() override { setFixedCurrentDate(std::nullopt); }

        bool pinned = (setFixedCurrentDate(now), true);
        QTemporaryDir config;
        test::ScopedEnv env { { "TZ", "UTC" }, { "XDG_CONFIG_HOME", qPrintable(config.path()) } };
    };

    TEST_F(Application, StartsWithTheMainWindowOnTheOneClockAndEndsWithEveryWindow)
    {
        AppOptions options;
        options.date = 0.0;
        options.links = { QStringLiteral("not a link"), QStringLiteral("heliora://?date=20200229") };
        options.detail = SolarSystemObject::planet(Planet::mars);
        auto app = std::make_unique<HelioraApplication>(options);
        EXPECT_EQ(app->mainWindow(), nullptr);
        EXPECT_EQ(app->rotation().date(), 0.0);
        ASSERT_EQ(app->start(), std::nullopt);

        // The link came after --date, and wins.
        EXPECT_EQ(app->rotation().date(), leapDay2020);
        QPointer<MainWindow> main = app->mainWindow();
        ASSERT_TRUE(main && main->isVisible());
        EXPECT_TRUE(app->heartbeat().isBeating());
        EXPECT_EQ(visibleFactWindows(), QStringList { QStringLiteral("Mars") });

        // A click on a body in the main window opens its window through the application.
        main->findChild<SolarSystemView*>(QStringLiteral("orrery"))->press(SolarSystemObject::sun());
        EXPECT_EQ(visibleFactWindows(), QStringList({ QStringLiteral("Mars"), QStringLiteral("Sun") }));

        main->close();
        EXPECT_FALSE(app->heartbeat().isBeating()) << "no main window shown";
        app->showMainWindow();
        EXPECT_EQ(app->mainWindow(), main.data()) << "one main window";
        EXPECT_TRUE(app->heartbeat().isBeating());

        app.reset();
        EXPECT_TRUE(main.isNull());
        EXPECT_EQ(visibleFactWindows(), QStringList());
    }

    TEST_F(Application, RendersAFactWindowAloneWithoutAMainWindow)
    {
        QTemporaryDir dir;
        AppOptions options;
        options.screenshotPath = dir.filePath(QStringLiteral("sun.png"));
        options.detail = SolarSystemObject::sun();
        HelioraApplication app(options);
        ASSERT_EQ(app.start(), std::nullopt);
        EXPECT_EQ(app.mainWindow(), nullptr);
        EXPECT_FALSE(app.heartbeat().isBeating());
        EXPECT_EQ(QApplication::exec(), 0);
        const QImage picture(*options.screenshotPath);
        EXPECT_EQ(picture.size(), DetailWindowController::contentSize);
    }

    struct LaunchCase {
        const char* name;
        QStringList arguments;
        bool taken = true; // false: a job of its own, which changes nothing here
        std::optional<double> date = {}; // the date afterwards; nothing: unchanged
        QStringList factWindows = {};
    };

    class LaterLaunch : public Application, public ::testing::WithParamInterface<LaunchCase> { };

    // A later launch is read as a command line; what it changes, it changes as at start-up, a date link moves the
    // date alone and a malformed one nothing. The main window comes forward even when it had been closed.
    TEST_P(LaterLaunch, ChangesWhatItsArgumentsSayAndNothingElse)
    {
        const LaunchCase& c = GetParam();
        HelioraApplication app { AppOptions {} };
        ASSERT_EQ(app.start(), std::nullopt);
        app.rotation().setSpeedType(SpeedType::forwardHigh);
        app.rotation().togglePlayPause();
        app.mainWindow()->close();
        // A --screenshot that slipped through would write into the working folder.
        QTemporaryDir dir;
        const QString working = QDir::currentPath();
        QDir::setCurrent(dir.path());
        const bool taken = app.handleLaunch({ c.arguments, {} });
        QDir::setCurrent(working);

        EXPECT_EQ(taken, c.taken);
        EXPECT_EQ(app.rotation().date(), c.date.value_or(now));
        EXPECT_EQ(app.rotation().timeState(), TimeState::pause);
        EXPECT_EQ(app.rotation().speedType(), SpeedType::forwardHigh);
        EXPECT_EQ(app.mainWindow()->isVisible(), c.taken);
        EXPECT_EQ(visibleFactWindows(), c.factWindows);
        EXPECT_TRUE(QDir(dir.path()).isEmpty()) << "a launch wrote a file";
    }

    // clang-format off
    const LaunchCase launches[] = {
        { .name = "NoArguments", .arguments = {} },
        { .name = "DateLink", .arguments = { "--", "heliora://?date=20200229" }, .date = leapDay2020 },
        { .name = "BareDateLink", .arguments = { "heliora://?date=20200229" }, .date = leapDay2020 },
        { .name = "MalformedLink", .arguments = { "--", "heliora://?date=20200230" } },
        { .name = "OptionAsLink", .arguments = { "--", "--screenshot=x.png" } },
        { .name = "LastLinkWins", .arguments = { "heliora://?date=20240131", "junk", "heliora://?date=20200229" },
            .date = leapDay2020 },
        { .name = "DateOption", .arguments = { "--date", "2020-02-29" }, .date = leapDay2020 },
        { .name = "FactWindow", .arguments = { "--detail", "mars" }, .factWindows = { "Mars" } },
        { .name = "Screenshot", .arguments = { "--screenshot", "x.png" }, .taken = false },
        { .name = "ScreenshotAndLink", .arguments = { "--screenshot=x.png", "heliora://?date=20200229" },
            .taken = false },
        { .name = "Help", .arguments = { "--help", "heliora://?date=20200229" }, .taken = false },
        { .name = "Version", .arguments = { "--version" }, .taken = false },
        { .name = "UnknownOption", .arguments = { "--bogus", "heliora://?date=20200229" }, .taken = false },
        { .name = "BadOptionValue", .arguments = { "--detail", "vulcan" }, .taken = false },
    };
    // clang-format on

    INSTANTIATE_TEST_SUITE_P(Table, LaterLaunch, ::testing::ValuesIn(launches), test::rowName);

    // About Heliora opens the settings window on its information tab; a later launch may name a tab too.
    TEST_F(Application, AboutAndLaterLaunchesOpenTheSettingsWindowOnTheirTab)
    {
        HelioraApplication app { AppOptions {} };
        app.showMainWindow();
        const QList<QAction*> help
            = app.mainWindow()->menuBar()->findChild<QMenu*>(QStringLiteral("help_menu"))->actions();
        const auto about = std::find_if(
            help.begin(), help.end(), [](const QAction* a) { return a->objectName() == QLatin1String("about"); });
        ASSERT_NE(about, help.end());
        (*about)->trigger();
        ASSERT_NE(app.settingsWindow(), nullptr);
        EXPECT_EQ(app.settingsWindow()->currentTab(), SettingsTab::info);

        app.settingsWindow()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(app.handleLaunch({ { QStringLiteral("--settings"), QStringLiteral("solar-system") }, {} }));
        ASSERT_NE(app.settingsWindow(), nullptr);
        EXPECT_EQ(app.settingsWindow()->currentTab(), SettingsTab::solarSystem);
    }

    TEST_F(Application, CtrlCommaOpensTheOneSettingsWindowWhichKeepsItsTabUntilClosed)
    {
        auto app = std::make_unique<HelioraApplication>(AppOptions {});
        ASSERT_EQ(app->start(), std::nullopt);
        MainWindow* main = app->mainWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main));
        EXPECT_EQ(app->settingsWindow(), nullptr);

        QTest::keyClick(main, Qt::Key_Comma, Qt::ControlModifier);
        QPointer<SettingsWindow> settings = app->settingsWindow();
        ASSERT_TRUE(settings);
        EXPECT_TRUE(settings->isVisible());
        EXPECT_EQ(settings->currentTab(), SettingsTab::general);

        // Asked again, by the key (from any window) or by the application: the same window, with its tab.
        settings->setCurrentTab(SettingsTab::viewing);
        QTest::keyClick(settings, Qt::Key_Comma, Qt::ControlModifier);
        QTest::keyClick(main, Qt::Key_Comma, Qt::ControlModifier);
        EXPECT_EQ(app->showSettingsWindow(), settings.data());
        EXPECT_EQ(settings->currentTab(), SettingsTab::viewing);
        EXPECT_EQ(app->showSettingsWindow(SettingsTab::info), settings.data());
        EXPECT_EQ(settings->currentTab(), SettingsTab::info);
        int windows = 0;
        for (QWidget* window : QApplication::topLevelWidgets())
            windows += qobject_cast<SettingsWindow*>(window) ? 1 : 0;
        EXPECT_EQ(windows, 1);

        // Closing frees it; the next request builds a fresh one, on General.
        settings->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(settings.isNull());
        EXPECT_EQ(app->settingsWindow(), nullptr);
        settings = app->showSettingsWindow();
        EXPECT_EQ(settings->currentTab(), SettingsTab::general);

        // One that is still open when the application ends goes with it.
        app.reset();
        EXPECT_TRUE(settings.isNull());
    }

    TEST_F(Application, RendersTheSettingsWindowAloneOnItsTab)
    {
        QTemporaryDir dir;
        AppOptions options;
        options.screenshotPath = dir.filePath(QStringLiteral("about.png"));
        options.settings = SettingsTab::info;
        HelioraApplication app(options);
        ASSERT_EQ(app.start(), std::nullopt);
        EXPECT_EQ(app.mainWindow(), nullptr);
        ASSERT_NE(app.settingsWindow(), nullptr);
        EXPECT_EQ(app.settingsWindow()->currentTab(), SettingsTab::info);
        EXPECT_EQ(QApplication::exec(), 0);
        EXPECT_EQ(QImage(*options.screenshotPath).size(), SettingsWindow::contentSize);
    }

    // In German, Qt's own texts are German too: the key names in the tooltips, its context menus and buttons.
    TEST_F(Application, GermanTextsComeWithQtsGermanTexts)
    {
        setStringsLanguage(QStringLiteral("de"));
        prepareApplication(*qApp);
        const QString right = QKeySequence(Qt::Key_Right).toString(QKeySequence::NativeText);
        HelioraApplication app { AppOptions {} };
        app.showMainWindow();
        const QString forward = app.mainWindow()->findChild<GlyphButton*>(QStringLiteral("forward"))->toolTip();
        const QString cancel = QCoreApplication::translate("QPlatformTheme", "Cancel");

        qDeleteAll(qApp->findChildren<QTranslator*>());
        setStringsLanguage(QStringLiteral("en"));
        EXPECT_EQ(right, QStringLiteral("Rechts"));
        EXPECT_EQ(forward, QStringLiteral("Vorwärts (Rechts)"));
        EXPECT_EQ(cancel, QStringLiteral("Abbrechen"));
        EXPECT_EQ(QKeySequence(Qt::Key_Right).toString(QKeySequence::NativeText), QStringLiteral("Right"));
    }

} // namespace
} // namespace heliora
