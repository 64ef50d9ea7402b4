// No window shows a key raw: every window, in every state that changes its texts, in English and in German,
// looks up only keys that the table has. (tests/strings/keys_test.cpp checks the keys written in the code.)

#include "app/mainwindow.h"
#include "app/settingswindow.h"
#include "app/solarsystemobjectdetailview.h"
#include "clock/currentdate.h"
#include "clock/rotationstate.h"
#include "strings/stringtable.h"
#include "support/scopedenv.h"
#include "support/utcseconds.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace heliora {
namespace {

    class EveryShownText : public ::testing::TestWithParam<const char*> {
    protected:
        ~EveryShownText() override { setStringsLanguage(QStringLiteral("en")); }
    };

    TEST_P(EveryShownText, ComesFromTheTable)
    {
        QTemporaryDir config;
        test::ScopedEnv env { { "TZ", "UTC" }, { "XDG_CONFIG_HOME", qPrintable(config.path()) } };
        setStringsLanguage(QLatin1String(GetParam()));
        const double now = test::utcSeconds(2024, 1, 31, 12);
        {
            RotationState rotation(now);
            MainWindow main(rotation, {});
            SettingsWindow settings(rotation, {}, [now] { return now; });
            // Captions in days and in years, both speeds' labels, paused and playing.
            for (const double date : { now + 3 * 86400.0, now + 3 * 366 * 86400.0, now - 86400.0 }) {
                rotation.setDate(date);
                rotation.faster();
                rotation.togglePlayPause();
            }
            settings.findChild<QPushButton*>(QStringLiteral("copy_scheme"))->click();
            settings.findChild<QCheckBox*>(QStringLiteral("show_pluto"))->click();
            for (Planet planet : allPlanets)
                SolarSystemObjectDetailView facts(SolarSystemObject::planet(planet));
            SolarSystemObjectDetailView sun(SolarSystemObject::sun());
        }
        EXPECT_EQ(strings().missingKeys(), std::vector<std::string> {});
    }

    INSTANTIATE_TEST_SUITE_P(Languages, EveryShownText, ::testing::Values("en", "de"));

} // namespace
} // namespace heliora
