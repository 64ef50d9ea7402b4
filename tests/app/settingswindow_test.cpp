#include "app/settingswindow.h"

#include "addresscatcher.h"

#include "app/datepicker.h"
#include "app/hud.h"
#include "app/mainwindow.h"
#include "clock/currentdate.h"
#include "clock/rotationstate.h"
#include "settings/sharedsettings.h"
#include "strings/stringtable.h"
#include "support/accessibletree.h"
#include "support/files.h"
#include "support/rows.h"
#include "support/scopedenv.h"
#include "support/utcseconds.h"
#include "views/solarsystemview.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QMimeData>
#include <QPointer>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace heliora {
namespace {

    using test::PrintTo;
    using test::utcSeconds;
    const double now = utcSeconds(2024, 1, 31, 12);

    /// Runs the HUD's delayed tasks when the test says so; a task whose context is gone does not run, as with
    /// Qt's timers.
    struct ManualScheduler {
        struct Task {
            int ms;
            QPointer<QObject> context;
            std::function<void()> run;
        };
        std::vector<Task> tasks;

        Hud::Scheduler scheduler()
        {
            return [this](int ms, QObject* context, std::function<void()> task) {
                tasks.push_back({ ms, context, std::move(task) });
            };
        }
        void runAll()
        {
            std::vector<Task> due = std::move(tasks);
            tasks.clear();
            for (Task& task : due) {
                if (task.context)
                    task.run();
            }
        }
    };

    /// A settings window on a fresh clock at `now`, with "now" pinned, UTC and a settings folder of its own.
    /// The window is made on first use, so that a test can change the environment before.
    class SettingsWindowTest : public ::testing::Test {
    protected:
        ~SettingsWindowTest() override
        {
            delete m_window;
            setFixedCurrentDate(std::nullopt);
        }

        SettingsWindow& window()
        {
            if (!m_window) {
                m_window = new SettingsWindow(
                    rotation, [this](const SolarSystemObject& body) { opened.push_back(body); }, currentDate);
            }
            return *m_window;
        }
        template <typename T = QWidget> T& child(const char* name)
        {
            T* found = window().findChild<T*>(QLatin1String(name));
            if (!found)
                throw std::runtime_error(std::string("no child named ") + name);
            return *found;
        }
        void click(const char* button) { child<QPushButton>(button).click(); }
        SolarSystemView& previewOrrery() { return *child("preview").findChild<SolarSystemView*>("orrery"); }
        SolarSystemView& aboutOrrery() { return *child("about").findChild<SolarSystemView*>("orrery"); }

        bool pinned = (setFixedCurrentDate(now), true);
        QTemporaryDir config;
        test::ScopedEnv env { { "TZ", "UTC" }, { "XDG_CONFIG_HOME", qPrintable(config.path()) } };
        RotationState rotation { now };
        std::vector<SolarSystemObject> opened;
        QPointer<SettingsWindow> m_window;
    };

    // The picker and the link row follow the clock, also beyond what the picker can show, and never move it.
    struct FollowCase {
        const char* name;
        double clock;
        QDate shown;
        const char* link;
        const char* zone = "UTC";
    };

    class PickerFollowsTheClock : public SettingsWindowTest, public ::testing::WithParamInterface<FollowCase> { };

    TEST_P(PickerFollowsTheClock, WithoutMovingIt)
    {
        const FollowCase& c = GetParam();
        env.set("TZ", c.zone);
        window();
        rotation.togglePlayPause();
        rotation.setSpeedType(SpeedType::forwardHigh);
        rotation.setTimeState(TimeState::pause);
        rotation.setDate(c.clock);
        EXPECT_EQ(child<DatePicker>("date_picker").date(), c.shown);
        EXPECT_EQ(child<QLabel>("date_link").text(), QLatin1String(c.link));
        EXPECT_EQ(rotation.date(), c.clock);
        EXPECT_EQ(rotation.timeState(), TimeState::pause);
        EXPECT_EQ(rotation.speedType(), SpeedType::forwardHigh);
    }

    INSTANTIATE_TEST_SUITE_P(Table, PickerFollowsTheClock,
        ::testing::Values(FollowCase { "Today", now, QDate(2024, 1, 31), "heliora://?date=20240131" },
            FollowCase { "TokyoIsTomorrow", utcSeconds(2024, 1, 31, 20), QDate(2024, 2, 1), "heliora://?date=20240201",
                "Asia/Tokyo" },
            FollowCase { "Year10000", utcSeconds(10'000, 1, 1), QDate(9999, 12, 31), "heliora://?date=100000101" },
            FollowCase { "FarPast", utcSeconds(-20'000, 6, 1), QDate(100, 1, 1), "heliora://?date=200010601BC" }),
        test::rowName);

    // Picking a day resets the clock to that day at its time of day, once: the picker's following is not a pick.
    struct PickCase {
        const char* name;
        double clock;
        QDate picked;
        double expected;
        const char* zone = "UTC";
    };

    class PickingADay : public SettingsWindowTest, public ::testing::WithParamInterface<PickCase> { };

    TEST_P(PickingADay, ResetsTheClockOnceAtItsTimeOfDay)
    {
        const PickCase& c = GetParam();
        env.set("TZ", c.zone);
        rotation.setDate(c.clock);
        window();
        rotation.setSpeedType(SpeedType::backwardHigh);
        rotation.setTimeState(TimeState::pause);
        int changes = 0;
        const auto count = [&changes] { ++changes; };
        QObject::connect(&rotation, &RotationState::dateChanged, count);
        QObject::connect(&rotation, &RotationState::timeStateChanged, count);
        QObject::connect(&rotation, &RotationState::speedChanged, count);
        child<DatePicker>("date_picker").setDate(c.picked);
        EXPECT_EQ(rotation.date(), c.expected);
        EXPECT_EQ(rotation.timeState(), TimeState::play);
        EXPECT_EQ(rotation.speedType(), SpeedType::normal);
        EXPECT_EQ(changes, 3) << "one reset: date, play state, speed";
        EXPECT_EQ(child<DatePicker>("date_picker").date(), c.picked);
    }

    INSTANTIATE_TEST_SUITE_P(Table, PickingADay,
        ::testing::Values(PickCase { "Utc", now + 0.5, QDate(1991, 1, 9), utcSeconds(1991, 1, 9, 12) + 0.5 },
            PickCase { "BerlinWinterToSummer", utcSeconds(2024, 1, 31, 9), QDate(2024, 7, 1), utcSeconds(2024, 7, 1, 8),
                "Europe/Berlin" },
            PickCase { "TokyoAcrossMidnightUtc", utcSeconds(2024, 1, 31, 20), QDate(2024, 2, 10),
                utcSeconds(2024, 2, 9, 20), "Asia/Tokyo" },
            PickCase {
                "FromBeyondTheRange", utcSeconds(50'000, 6, 1, 7), QDate(9999, 12, 30), utcSeconds(9999, 12, 30) },
            PickCase { "ToTheFirstDay", now, QDate(100, 1, 1), utcSeconds(100, 1, 1, 12) }),
        test::rowName);

    TEST_F(SettingsWindowTest, ResetToTodayPlaysAtNormalSpeed)
    {
        rotation.setDate(utcSeconds(1991, 1, 9));
        rotation.setSpeedType(SpeedType::forwardExtraHigh);
        rotation.togglePlayPause();
        click("reset_to_today");
        EXPECT_EQ(rotation.date(), now);
        EXPECT_EQ(rotation.timeState(), TimeState::play);
        EXPECT_EQ(rotation.speedType(), SpeedType::normal);
        EXPECT_EQ(child<DatePicker>("date_picker").date(), QDate(2024, 1, 31));
    }

    // Each copy leaves exactly one plain text on the clipboard: the scheme, or the link of the clock's date at the
    // moment of the click (also when the row has not caught up with the clock).
    struct CopyCase {
        const char* name;
        const char* button;
        double clock;
        const char* expected;
    };

    class Copying : public SettingsWindowTest, public ::testing::WithParamInterface<CopyCase> { };

    TEST_P(Copying, PutsExactlyThePlainTextOnTheClipboard)
    {
        const CopyCase& c = GetParam();
        window();
        QApplication::clipboard()->setText(QStringLiteral("something else"));
        {
            const QSignalBlocker quiet(rotation); // the row does not see this date; the click must
            rotation.setDate(c.clock);
        }
        click(c.button);
        const QMimeData* data = QApplication::clipboard()->mimeData(QClipboard::Clipboard);
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->formats(), QStringList { QStringLiteral("text/plain") });
        EXPECT_EQ(data->text(), QLatin1String(c.expected));
        EXPECT_TRUE(child<Hud>("hud").isShowing());
    }

    INSTANTIATE_TEST_SUITE_P(Table, Copying,
        ::testing::Values(CopyCase { "Scheme", "copy_scheme", now, "heliora://" },
            CopyCase { "DateLink", "copy_date_link", utcSeconds(1991, 1, 9, 18), "heliora://?date=19910109" }),
        test::rowName);

    TEST_F(SettingsWindowTest, TheHudShowsForTwoSecondsFromItsFirstCopyAndThenFades)
    {
        window().show();
        auto& hud = child<Hud>("hud");
        ManualScheduler timers;
        hud.setScheduler(timers.scheduler());

        click("copy_scheme");
        EXPECT_TRUE(hud.isVisible());
        ASSERT_EQ(timers.tasks.size(), 1u);
        EXPECT_EQ(timers.tasks[0].context, &hud) << "a hide must not outlive the HUD";
        // At the bottom centre of the tab, over the form.
        const QWidget& tab = child("general");
        EXPECT_NEAR(hud.geometry().center().x(), tab.width() / 2, 1);
        EXPECT_EQ(hud.geometry().bottom(), tab.height() - 1 - 16);
        EXPECT_EQ(hud.height(), hud.findChild<QLabel*>("copied")->height() + 32);

        click("copy_date_link"); // copies again but does not extend the time
        EXPECT_EQ(timers.tasks.size(), 1u);
        EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("heliora://?date=20240131"));

        timers.runAll();
        EXPECT_FALSE(hud.isShowing());
        auto* fade = hud.findChild<QPropertyAnimation*>("hud_fade");
        ASSERT_NE(fade, nullptr);
        EXPECT_EQ(fade->state(), QAbstractAnimation::Running);
        EXPECT_TRUE(hud.isVisible()) << "fading, not gone";

        // A copy during the fade brings it back, with a fresh two seconds.
        click("copy_scheme");
        EXPECT_TRUE(hud.isShowing());
        EXPECT_EQ(fade->state(), QAbstractAnimation::Stopped);
        EXPECT_EQ(timers.tasks.size(), 1u);
        timers.runAll();
        fade->setCurrentTime(fade->duration());
        EXPECT_FALSE(hud.isVisible());
    }

    TEST_F(SettingsWindowTest, AHideDueAfterTheWindowIsGoneDoesNothing)
    {
        ManualScheduler timers;
        child<Hud>("hud").setScheduler(timers.scheduler());
        click("copy_scheme");
        window().close(); // frees itself
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(m_window.isNull());
        timers.runAll(); // under the sanitizers, a hide on the freed HUD would be caught here
        EXPECT_TRUE(timers.tasks.empty());
    }

    TEST_F(SettingsWindowTest, ThePlutoCheckBoxWritesAtOnceAndEveryOrreryFollows)
    {
        MainWindow main(rotation, {});
        const auto& mainOrrery = *main.findChild<SolarSystemView*>(QStringLiteral("orrery"));
        SharedSettings reader;
        auto& box = child<QCheckBox>("show_pluto");
        EXPECT_FALSE(box.isChecked());
        for (bool on : { true, false }) {
            box.click();
            EXPECT_EQ(reader.showPluto(), on);
            const int rings = on ? 10 : 9;
            EXPECT_EQ(mainOrrery.currentLayout().ringCount, rings);
            EXPECT_EQ(previewOrrery().currentLayout().ringCount, rings);
            EXPECT_EQ(aboutOrrery().currentLayout().ringCount, rings);
            EXPECT_FALSE(child("setting_not_saved").isVisibleTo(&child("viewing")));
        }
        // A write made elsewhere in the process shows in the check box.
        ASSERT_TRUE(reader.setShowPluto(true));
        EXPECT_TRUE(box.isChecked());
    }

    // A store that cannot be written: the check box returns to the stored value, a grey line says so, and the file
    // is left as it was. Once the store can be written again, the next click stores and the line goes.
    class AFailedWrite : public SettingsWindowTest, public ::testing::WithParamInterface<const char*> { };

    TEST_P(AFailedWrite, LeavesTheFileAndSaysSo)
    {
        const QLatin1String kind(GetParam());
        QByteArray content;
        if (kind == QLatin1String("NoConfigurationFolder")) {
            env.set("XDG_CONFIG_HOME", nullptr);
            env.set("HOME", "relative/home");
        } else {
            content = kind == QLatin1String("Oversized")
                ? "[General]\nshow_pluto=false\n" + QByteArray(1 << 20, ';') + "\n"
                : QByteArray("[General]\nshow_pluto=false\nnul=") + '\0' + "\n";
            ASSERT_TRUE(test::writeFile(SharedSettings::suiteFilePath(), content));
        }

        auto& box = child<QCheckBox>("show_pluto");
        box.click();
        EXPECT_FALSE(box.isChecked());
        EXPECT_TRUE(child("setting_not_saved").isVisibleTo(&child("viewing")));
        EXPECT_FALSE(child("setting_not_saved").toolTip().isEmpty()) << "the store's reason";
        EXPECT_EQ(previewOrrery().currentLayout().ringCount, 9);
        if (content.isEmpty())
            return;
        EXPECT_EQ(test::readFile(SharedSettings::suiteFilePath()), content)
            << "the store rewrote a file it cannot read";

        ASSERT_TRUE(QFile::remove(SharedSettings::suiteFilePath()));
        box.click();
        EXPECT_TRUE(box.isChecked());
        EXPECT_TRUE(SharedSettings().showPluto());
        EXPECT_FALSE(child("setting_not_saved").isVisibleTo(&child("viewing")));
    }

    INSTANTIATE_TEST_SUITE_P(Stores, AFailedWrite, ::testing::Values("Oversized", "NulByte", "NoConfigurationFolder"),
        [](const auto& info) { return std::string(info.param); });

    TEST_F(SettingsWindowTest, TheSolarSystemTabAsksForFactWindows)
    {
        window().setCurrentTab(SettingsTab::solarSystem);
        child("solar_system").findChild<QWidget*>("mars")->findChild<QPushButton*>("open_fact_sheet")->click();
        child("solar_system").findChild<QWidget*>("sun")->findChild<QPushButton*>("open_fact_sheet")->click();
        EXPECT_EQ(opened, (std::vector { SolarSystemObject::planet(Planet::mars), SolarSystemObject::sun() }));
    }

    TEST_F(SettingsWindowTest, TheInformationOrreryStandsStillOn9January1991)
    {
        env.set("TZ", "Asia/Tokyo");
        SolarSystemView& orrery = aboutOrrery();
        const double start = utcSeconds(1991, 1, 8, 15); // midnight in Tokyo
        EXPECT_EQ(orrery.inputs().date, start);
        rotation.reset(utcSeconds(2030, 5, 5));
        EXPECT_EQ(orrery.inputs().date, start);
        EXPECT_FALSE(orrery.isClickable(SolarSystemObject::sun()));
        EXPECT_FALSE(orrery.isClickable(SolarSystemObject::planet(Planet::earth)));
        EXPECT_TRUE(orrery.testAttribute(Qt::WA_TransparentForMouseEvents));
    }

    // Assistive technologies see the shown tab's page, never an orrery of the window (both only decorate).
    TEST_F(SettingsWindowTest, NoOrreryOfTheWindowIsSeenByAssistiveTechnologies)
    {
        window().show();
        for (const auto& [tab, inside] : std::vector<std::pair<SettingsTab, const char*>> {
                 { SettingsTab::viewing, "show_pluto" }, { SettingsTab::info, "email" } }) {
            window().setCurrentTab(tab);
            const QList<QObject*> seen = test::accessibleObjects(&window());
            EXPECT_TRUE(seen.contains(&child(inside))) << "the walk did not reach " << inside;
            EXPECT_FALSE(seen.contains(&child("copy_scheme"))) << "a hidden tab's page is seen";
            for (QObject* object : seen)
                EXPECT_EQ(qobject_cast<SolarSystemView*>(object), nullptr) << object->objectName().toStdString();
        }
    }

    // Each line of the block is one phrase for a screen reader, and its links, if any, open Heliora's addresses.
    struct LinkRowCase {
        const char* row;
        const char* spoken; // a pattern
        QStringList links;
    };
    void PrintTo(const LinkRowCase& c, std::ostream* os) { *os << c.row; }

    class InformationLinks : public SettingsWindowTest, public ::testing::WithParamInterface<LinkRowCase> { };

    TEST_P(InformationLinks, ReadAsOnePhraseAndOpenTheirAddresses)
    {
        const LinkRowCase& c = GetParam();
        auto& label = child<QLabel>(c.row);
        QStringList hrefs;
        static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
        for (const auto& match : href.globalMatch(label.text()))
            hrefs.append(match.captured(1));
        EXPECT_EQ(hrefs, c.links);

        // A screen reader reads the line as one phrase: a link while it holds any, text otherwise. Each of the
        // link's actions opens one of the addresses, in order, the first one as its press.
        QAccessibleInterface* line = QAccessible::queryAccessibleInterface(&label);
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^%1$").arg(QString::fromUtf8(c.spoken)))
                        .match(line->text(QAccessible::Name))
                        .hasMatch())
            << line->text(QAccessible::Name).toStdString();
        EXPECT_EQ(line->role(), c.links.isEmpty() ? QAccessible::StaticText : QAccessible::Link);
        EXPECT_EQ(label.focusPolicy() != Qt::NoFocus, !c.links.isEmpty()) << "the keyboard stops at a line of text";
        QStringList actions = line->actionInterface() ? line->actionInterface()->actionNames() : QStringList();
        actions.removeAll(QAccessibleActionInterface::setFocusAction());
        ASSERT_EQ(actions.size(), c.links.size());
        EXPECT_EQ(actions.value(0), c.links.isEmpty() ? QString() : QAccessibleActionInterface::pressAction());

        const test::AddressCatcher catcher;
        for (const QString& action : actions)
            line->actionInterface()->doAction(action);
        EXPECT_EQ(catcher.opened, c.links);
    }

    INSTANTIATE_TEST_SUITE_P(Table, InformationLinks,
        ::testing::Values(LinkRowCase { "phone_edition", "Heliora for iPhone and iPad", { "https://heliora.app/ios" } },
            LinkRowCase { "social", "Twitter: @HelioraApp", { "https://twitter.com/HelioraApp" } },
            LinkRowCase { "email", "Email: feedback@heliora\\.app", { "mailto:feedback@heliora.app" } },
            LinkRowCase { "legal", "Privacy Policy(・| · )Terms and Conditions",
                { "https://heliora.app/privacy", "https://heliora.app/terms" } },
            LinkRowCase { "developer", "By The Heliora developers", { "https://heliora.app" } },
            LinkRowCase { "name_and_version", "Heliora \\d+\\.\\d+\\.\\d+", {} },
            LinkRowCase { "build", "Build \\(\\d+\\)", {} },
            LinkRowCase { "data_archive", "https://nssdc\\.gsfc\\.nasa\\.gov/", { "https://nssdc.gsfc.nasa.gov/" } }),
        [](const auto& info) { return std::string(info.param.row); });

} // namespace
} // namespace heliora
