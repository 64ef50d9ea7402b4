// The clock's commands of heliora-cli: date links and date texts, as a script meets them.

#include "support/runcli.h"

#include <gtest/gtest.h>

namespace heliora {
namespace {

    using test::runCli;

    TEST(Cli, LinkAndDatesCommands)
    {
        const auto built = runCli({ "link", "build", "--date", "2024-01-31T23:30", "--time-zone", "Asia/Tokyo" });
        EXPECT_EQ(built.exitCode, 0);
        EXPECT_EQ(built.text(), QStringLiteral("heliora://?date=20240131\n"));
        const auto parsed = runCli({ "link", "parse", "heliora://?date=20240131", "--time-zone", "Europe/Berlin" });
        EXPECT_EQ(parsed.json().value("local").toString(), QStringLiteral("2024-01-31T00:00:00+01:00"));
        const auto dates = runCli({ "dates", "--date", "2024-01-31T12:00", "--time-zone", "Europe/Berlin", "--now",
                                      "2024-01-29T18:00", "--locale", "de_DE" })
                               .json();
        EXPECT_EQ(dates.value("display").toString(), QStringLiteral("31.01.2024"));
        EXPECT_EQ(dates.value("caption").toString(), QStringLiteral("1 TAG"));
        EXPECT_TRUE(
            runCli({ "dates", "--date", "2024-01-31", "--now", "2024-01-31T20:00" }).json()["caption"].isNull());
    }

    // The link, the date texts and the command line's ISO dates count proleptic Gregorian years before 1582 alike:
    // the day that --date names is the day that the link and the display show, and the day a link opens.
    TEST(Cli, DatesBefore1582NameTheSameDayEverywhere)
    {
        const QStringList utc { "--time-zone", "UTC" };
        for (const char* day : { "1000-03-01", "0001-01-01", "1582-10-10" }) {
            const QString iso = QString::fromLatin1(day);
            const QString digits = QString(iso).remove(QLatin1Char('-'));
            const auto link = runCli(QStringList { "link", "build", "--date", iso } + utc);
            EXPECT_EQ(link.text(), QStringLiteral("heliora://?date=%1\n").arg(digits)) << day;
            const auto opened = runCli(QStringList { "link", "parse", "heliora://?date=" + digits } + utc).json();
            EXPECT_EQ(opened.value("local").toString(), iso + QStringLiteral("T00:00:00+00:00")) << day;
            const auto shown = runCli(QStringList { "dates", "--date", iso, "--locale", "en_US" } + utc).json();
            const QString expected = iso.mid(5, 2) + '/' + iso.mid(8, 2) + '/' + iso.left(4);
            EXPECT_EQ(shown.value("display").toString(), expected) << day;
        }
    }

} // namespace
} // namespace heliora
