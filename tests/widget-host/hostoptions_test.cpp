#include "widget-host/hostoptions.h"

#include "support/rows.h"

#include <gtest/gtest.h>

#include <string>

namespace heliora::host {
namespace {

    using test::PrintTo;

    TEST(HostOptions, ReadsASnapshotRequest)
    {
        QString error;
        const auto options = parseHostOptions(
            { "--snapshot", "SolarSystemWidget", "large", "out.PNG", "--scale", "1.5", "--date", "@86400" }, &error);
        ASSERT_TRUE(options) << error.toStdString();
        EXPECT_EQ(options->mode, HostOptions::Mode::snapshot);
        EXPECT_EQ(options->kind, QStringLiteral("SolarSystemWidget"));
        EXPECT_EQ(options->family, QStringLiteral("large"));
        EXPECT_EQ(options->file, QStringLiteral("out.PNG"));
        EXPECT_EQ(options->scale, 1.5);
        EXPECT_EQ(options->date, 86400);
    }

    struct DateCase {
        QString text;
        std::optional<double> date;
    };

    class DateOption : public ::testing::TestWithParam<DateCase> { };

    TEST_P(DateOption, IsIsoOrSeconds) { EXPECT_EQ(parseDateOption(GetParam().text), GetParam().date); }

    INSTANTIATE_TEST_SUITE_P(Table, DateOption,
        ::testing::Values(DateCase { "@-1.5", -1.5 }, DateCase { "2024-01-31T10:00:00+01:00", 1706691600.0 },
            DateCase { "@1e300", std::nullopt }, DateCase { "@nan", std::nullopt }, DateCase { "@", std::nullopt },
            DateCase { "2024-02-30T00:00:00Z", std::nullopt }));

    struct BadLine {
        std::string name;
        QStringList arguments;
    };

    class BadCommandLine : public ::testing::TestWithParam<BadLine> { };

    // Each mistake gives one line that says what is wrong, and no options.
    TEST_P(BadCommandLine, IsRefusedWithOneLine)
    {
        QString error;
        EXPECT_EQ(parseHostOptions(GetParam().arguments, &error), std::nullopt);
        EXPECT_FALSE(error.isEmpty());
        EXPECT_FALSE(error.contains(QLatin1Char('\n')));
    }

    INSTANTIATE_TEST_SUITE_P(Table, BadCommandLine,
        ::testing::Values(BadLine { "UnknownOption", { "--frobnicate" } },
            BadLine { "SnapshotWithoutFile", { "--snapshot", "SolarSystemWidget", "small" } },
            BadLine { "SnapshotNotPng", { "--snapshot", "SolarSystemWidget", "small", "out.jpg" } },
            BadLine { "TimelineExtra", { "--timeline", "SolarSystemWidget", "small", "x" } },
            BadLine { "ScaleTooLarge", { "--snapshot", "SolarSystemWidget", "small", "o.png", "--scale", "5" } },
            BadLine { "ScaleMissing", { "--snapshot", "SolarSystemWidget", "small", "o.png", "--scale" } },
            BadLine { "BadDate", { "--snapshot", "SolarSystemWidget", "small", "o.png", "--date", "soon" } },
            BadLine { "DateWithoutSnapshot", { "--gallery", "--date", "@0" } },
            BadLine { "TwoCommands", { "--gallery", "--timeline", "SolarSystemWidget", "small" } },
            BadLine { "StrayArgument", { "SolarSystemWidget" } }),
        test::rowName);

} // namespace
} // namespace heliora::host
