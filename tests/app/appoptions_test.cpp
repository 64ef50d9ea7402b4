#include "appoptions.h"

#include <gtest/gtest.h>

namespace heliora {
namespace {

    struct OptionsCase {
        QStringList arguments;
        bool accepted;
        QString screenshot = {};
        const char* detail = nullptr;
        QStringList links = {};
    };

    void PrintTo(const OptionsCase& c, std::ostream* os) { *os << '[' << c.arguments.join(' ').toStdString() << ']'; }

    class CommandLine : public ::testing::TestWithParam<OptionsCase> { };

    TEST_P(CommandLine, IsReadOrRefusedWithAMessage)
    {
        QString error;
        const std::optional<AppOptions> options = parseAppOptions(GetParam().arguments, &error);
        ASSERT_EQ(options.has_value(), GetParam().accepted) << error.toStdString();
        if (!options) {
            EXPECT_FALSE(error.isEmpty());
            return;
        }
        EXPECT_EQ(options->screenshotPath.value_or(QString()), GetParam().screenshot);
        EXPECT_EQ(options->detail ? options->detail->localizationKey() : std::string_view(),
            GetParam().detail ? std::string_view(GetParam().detail) : std::string_view());
        EXPECT_EQ(options->links, GetParam().links);
    }

    INSTANTIATE_TEST_SUITE_P(Arguments, CommandLine,
        ::testing::Values(OptionsCase { {}, true }, OptionsCase { { "--screenshot", "a.png" }, true, "a.png" },
            OptionsCase { { "--screenshot=a.png", "--detail", "sun" }, true, "a.png", "sun" },
            OptionsCase { { "heliora://?date=20240131" }, true, {}, nullptr, { "heliora://?date=20240131" } },
            OptionsCase { { "--", "--screenshot" }, true, {}, nullptr, { "--screenshot" } },
            // No file, an option where the file should be, a misspelt body or option.
            OptionsCase { { "--screenshot" }, false }, OptionsCase { { "--screenshot=" }, false },
            OptionsCase { { "--screenshot", "--detail", "mars" }, false },
            OptionsCase { { "--detail", "Mars" }, false }, OptionsCase { { "--detail", "vulcan" }, false },
            OptionsCase { { "--screenshots", "a.png" }, false }));

    TEST(CommandLine, ScreenshotIsSeenBeforeQtStarts)
    {
        const char* screenshot[] = { "heliora", "-platform", "xcb", "--screenshot=a.png", nullptr };
        const char* link[] = { "heliora", "--", "--screenshot", nullptr };
        EXPECT_TRUE(wantsScreenshot(4, screenshot));
        EXPECT_FALSE(wantsScreenshot(3, link));
    }

} // namespace
} // namespace heliora
