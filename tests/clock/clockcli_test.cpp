#include "processrunner.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

namespace heliora {
namespace {

    struct LinkCase {
        const char* link;
        int exitCode;
        const char* local; // null when ignored
    };

    void PrintTo(const LinkCase& c, std::ostream* os) { *os << c.link; }

    class CliLinkParse : public ::testing::TestWithParam<LinkCase> { };

    TEST_P(CliLinkParse, PrintsTheDateOrNothing)
    {
        const LinkCase& c = GetParam();
        const auto result
            = test::runCli({ "link", "parse", QString::fromLatin1(c.link), "--time-zone", "Europe/Berlin" });
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err.toStdString();
        if (!c.local) {
            EXPECT_TRUE(result.out.isEmpty());
            return;
        }
        const QJsonObject json = QJsonDocument::fromJson(result.out.toUtf8()).object();
        EXPECT_EQ(json.value("local").toString(), QString::fromLatin1(c.local));
        EXPECT_EQ(json.value("date").toDouble(), 1'706'655'600.0);
    }

    INSTANTIATE_TEST_SUITE_P(Table, CliLinkParse,
        ::testing::Values(LinkCase { "heliora://?date=20240131", 0, "2024-01-31T00:00:00+01:00" },
            LinkCase { "heliora://?date=", 1, nullptr }, LinkCase { "heliora://?date=2024013", 1, nullptr },
            LinkCase { "heliora://?date=20241341", 1, nullptr }, LinkCase { "heliora://?date=abcdefgh", 1, nullptr },
            LinkCase { "Heliora://?date=20240131", 1, nullptr }));

    TEST(Cli, BuildsTheLinkThatItParses)
    {
        const auto built = test::runCli({ "link", "build", "--date", "2024-01-31T23:30", "--time-zone", "Asia/Tokyo" });
        EXPECT_EQ(built.exitCode, 0);
        EXPECT_EQ(built.out, QStringLiteral("heliora://?date=20240131\n"));
        EXPECT_EQ(test::runCli({ "link", "parse" }).exitCode, 2);
        EXPECT_EQ(test::runCli({ "link", "shorten" }).exitCode, 2);
    }

    struct DatesCase {
        const char* locale;
        const char* display;
        const char* caption;
    };

    void PrintTo(const DatesCase& c, std::ostream* os) { *os << c.locale; }

    class CliDates : public ::testing::TestWithParam<DatesCase> { };

    TEST_P(CliDates, PrintsTheDisplayDateAndTheCaption)
    {
        const DatesCase& c = GetParam();
        const auto result = test::runCli({ "dates", "--date", "2024-01-31T12:00", "--now", "2024-01-29T18:00",
            "--time-zone", "Europe/Berlin", "--locale", QString::fromLatin1(c.locale) });
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        const QJsonObject json = QJsonDocument::fromJson(result.out.toUtf8()).object();
        EXPECT_EQ(json.value("display").toString(), QString::fromUtf8(c.display));
        EXPECT_EQ(json.value("caption").toString(), QString::fromUtf8(c.caption));
    }

    INSTANTIATE_TEST_SUITE_P(Table, CliDates,
        ::testing::Values(DatesCase { "en_US", "01/31/2024", "1 DAY" }, DatesCase { "de_DE", "31.01.2024", "1 TAG" }));

    TEST(Cli, DatesWithoutCaptionPrintNull)
    {
        const auto result
            = test::runCli({ "dates", "--date", "2024-01-31", "--now", "2024-01-31T20:00", "--time-zone", "UTC" });
        ASSERT_EQ(result.exitCode, 0);
        EXPECT_TRUE(QJsonDocument::fromJson(result.out.toUtf8()).object().value("caption").isNull());
        EXPECT_EQ(test::runCli({ "dates", "--locale", "xx_YY" }).exitCode, 2);
    }

} // namespace
} // namespace heliora
