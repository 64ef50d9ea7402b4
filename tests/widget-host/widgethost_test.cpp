#include "widget-host/autostart.h"
#include "widget-host/pluginlocator.h"
#include "widget-host/singleinstance.h"
#include "widget-host/widgethost.h"
#include "widget-host/widgetwindow.h"

#include "support/files.h"
#include "support/scopedenv.h"

#include <QDir>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>

namespace heliora::host {
namespace {

    using widgetkit::WidgetFamily;

    const widgetkit::WidgetBundle& bundle()
    {
        static const LoadedExtension extension = loadExtension({ QStringLiteral(HELIORA_EXTENSION_PATH) });
        return *extension.bundle;
    }

    // A host with its files in a folder of its own, the zone pinned (so it leaves the process's TZ alone) and,
    // unless a test sets one, the wall clock.
    class Host : public ::testing::Test {
    protected:
        QTemporaryDir folder;
        test::ScopedEnv env { { "XDG_CONFIG_HOME", folder.path().toUtf8().constData() }, { "TZ", "UTC" } };
        HostSetup setup = [this] {
            HostSetup s;
            s.placedWidgetsPath = folder.path() + QStringLiteral("/heliora/heliora-widgets.json");
            s.autostartPath = folder.path() + QStringLiteral("/autostart/heliora-widgets.desktop");
            s.program = QStringLiteral("/opt/heliora/bin/heliora-widgets");
            return s;
        }();

        void writeFile(const QByteArray& bytes) const
        {
            QDir().mkpath(folder.path() + QStringLiteral("/heliora"));
            ASSERT_TRUE(test::writeFile(setup.placedWidgetsPath, bytes));
        }
    };

    // The widgets this extension offers come back at their size; records it cannot show stay in the file.
    TEST_F(Host, RestoresWhatItCanShowAndKeepsTheRest)
    {
        const QList<PlacedWidget> records { { "SolarSystemWidget", "small", "", { 10, 20 } },
            { "FutureWidget", "small", "", { 0, 0 } }, { "PlanetsListWidget", "medium", "", { 200, 20 } },
            { "SolarSystemWidget", "medium", "", { 0, 300 } } };
        writeFile(PlacedWidgetsFile::serialize(records));
        WidgetHost host(bundle(), setup);
        ASSERT_EQ(host.restore(), 2);
        QStringList names;
        for (WidgetWindow* window : host.windows()) {
            names.append(window->objectName());
            EXPECT_EQ(window->size(), widgetkit::familySize(window->family()));
            EXPECT_EQ(window->picture().size(), window->size() * window->devicePixelRatioF());
            EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
        }
        EXPECT_EQ(names, (QStringList { "widget_SolarSystemWidget_small", "widget_PlanetsListWidget_medium" }));
        EXPECT_EQ(host.windows().first()->pos(), QPoint(10, 20));

        ASSERT_TRUE(host.add(QStringLiteral("SolarSystemWidget"), WidgetFamily::large));
        const auto saved = PlacedWidgetsFile(setup.placedWidgetsPath).read();
        ASSERT_TRUE(saved);
        ASSERT_EQ(saved->size(), 5);
        EXPECT_EQ(saved->mid(0, 4), records);
        EXPECT_EQ(saved->at(4).kind, QStringLiteral("SolarSystemWidget"));
        EXPECT_EQ(saved->at(4).family, QStringLiteral("large"));
        EXPECT_FALSE(host.add(QStringLiteral("SolarSystemWidget"), WidgetFamily::medium));
        EXPECT_FALSE(host.add(QStringLiteral("Clock"), WidgetFamily::small));
    }

    // A file the host cannot read shows nothing and is left alone until the user changes the widgets.
    TEST_F(Host, CorruptFileShowsNoWidgetsUntilOneIsPlaced)
    {
        const QByteArray garbage = QByteArray(1000, '{') + "\x00\xff";
        writeFile(garbage);
        WidgetHost host(bundle(), setup);
        EXPECT_EQ(host.restore(), 0);
        EXPECT_EQ(test::readFile(setup.placedWidgetsPath), garbage);
        ASSERT_TRUE(host.add(QStringLiteral("PlanetsListWidget"), WidgetFamily::medium));
        EXPECT_EQ(PlacedWidgetsFile(setup.placedWidgetsPath).read()->size(), 1);
    }

    // The log-in entry is on while any widget is placed; with the last one gone the host has nothing left to do.
    TEST_F(Host, AutostartFollowsTheFirstAndTheLastWidget)
    {
        WidgetHost host(bundle(), setup);
        QSignalSpy idle(&host, &WidgetHost::idle);
        const AutostartEntry entry(setup.autostartPath);
        EXPECT_EQ(host.restore(), 0);
        EXPECT_FALSE(entry.isEnabled());
        ASSERT_TRUE(host.add(QStringLiteral("SolarSystemWidget"), WidgetFamily::small));
        EXPECT_TRUE(entry.isEnabled());
        ASSERT_TRUE(host.add(QStringLiteral("SolarSystemWidget"), WidgetFamily::large));
        const QList<WidgetWindow*> windows = host.windows();
        ASSERT_EQ(windows.size(), 2);
        EXPECT_NE(windows[0]->pos(), windows[1]->pos()); // new widgets do not cover each other
        host.remove(windows[0]->id());
        EXPECT_TRUE(entry.isEnabled());
        host.remove(windows[1]->id());
        EXPECT_FALSE(entry.isEnabled());
        EXPECT_EQ(PlacedWidgetsFile(setup.placedWidgetsPath).read(), QList<PlacedWidget>());
        EXPECT_TRUE(idle.wait(5000));
    }

    // Each widget waits for its timeline's reload date, 15 minutes on; the test interval replaces it.
    TEST_F(Host, SchedulesTheTimelinesReloadDate)
    {
        using namespace std::chrono;
        const double wall = duration<double>(system_clock::now().time_since_epoch()).count();
        writeFile(PlacedWidgetsFile::serialize({ { "SolarSystemWidget", "small", "", { 0, 0 } } }));
        {
            WidgetHost host(bundle(), setup);
            ASSERT_EQ(host.restore(), 1);
            ASSERT_EQ(host.schedule().dates().size(), 1u);
            EXPECT_NEAR(host.schedule().dates().begin()->second - wall, 900, 30);
        }
        setup.now = [] { return 5000.0; };
        setup.reloadInterval = 10;
        WidgetHost host(bundle(), setup);
        ASSERT_EQ(host.restore(), 1);
        EXPECT_EQ(host.schedule().nextDate(), 5010);
    }

    // A second host hands its request to the first and ends; a socket file left by a crash does not block a new
    // host, and a client that never ends its line is dropped.
    TEST(SingleInstance, HandsRequestsToTheRunningHost)
    {
        QTemporaryDir folder;
        const QString name = folder.path() + QStringLiteral("/widgets.socket");
        QFile stale(name);
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
        stale.close();
        EXPECT_FALSE(SingleInstance(name).forward(QStringLiteral("gallery")));

        SingleInstance running(name);
        ASSERT_TRUE(running.listen());
        QSignalSpy requests(&running, &SingleInstance::requested);
        QLocalSocket rude;
        rude.connectToServer(name);
        ASSERT_TRUE(rude.waitForConnected(5000));
        rude.write(QByteArray(1000, 'x'));
        rude.flush();
        EXPECT_TRUE(SingleInstance(name).forward(QStringLiteral("gallery")));
        ASSERT_TRUE(requests.wait(5000));
        EXPECT_EQ(requests.first().first().toString(), QStringLiteral("gallery"));
        EXPECT_EQ(requests.size(), 1);
    }

} // namespace
} // namespace heliora::host
