#include "appoptions.h"

#include <gtest/gtest.h>

#include <vector>

namespace heliora {
namespace {

    struct OptionsCase {
        std::vector<const char*> arguments;
        bool accepted;
        const char* screenshot = nullptr;
        const char* detail = nullptr;
        std::vector<const char*> links = {};
        bool help = false;
    };

    void PrintTo(const OptionsCase& c, std::ostream* os)
    {
        *os << '[';
        for (const char* argument : c.arguments)
            *os << ' ' << argument;
        *os << " ]";
    }

    QStringList toList(const std::vector<const char*>& items)
    {
        QStringList list;
        for (const char* item : items)
            list.append(QString::fromUtf8(item));
        return list;
    }

    class CommandLine : public ::testing::TestWithParam<OptionsCase> { };

    TEST_P(CommandLine, IsReadOrRefusedWithAMessage)
    {
        QString error;
        const std::optional<AppOptions> options = parseAppOptions(toList(GetParam().arguments), &error);
        ASSERT_EQ(options.has_value(), GetParam().accepted) << error.toStdString();
        if (!options) {
            EXPECT_FALSE(error.isEmpty());
            EXPECT_FALSE(error.contains(QLatin1Char('\n')));
            return;
        }
        EXPECT_EQ(options->screenshotPath.value_or(QString()), QString::fromUtf8(GetParam().screenshot));
        EXPECT_EQ(options->detail.has_value(), GetParam().detail != nullptr);
        if (options->detail) {
            EXPECT_EQ(options->detail->localizationKey(), std::string_view(GetParam().detail));
        }
        EXPECT_EQ(options->links, toList(GetParam().links));
        EXPECT_EQ(options->showHelp, GetParam().help);
    }

    INSTANTIATE_TEST_SUITE_P(Arguments, CommandLine,
        ::testing::Values(OptionsCase { {}, true }, OptionsCase { { "--screenshot", "out.png" }, true, "out.png" },
            OptionsCase { { "--screenshot=out.png" }, true, "out.png" },
            OptionsCase { { "--screenshot", "a.png", "--detail", "sun" }, true, "a.png", "sun" },
            OptionsCase { { "--detail=pluto" }, true, nullptr, "pluto" },
            OptionsCase { { "heliora://?date=20240131" }, true, nullptr, nullptr, { "heliora://?date=20240131" } },
            OptionsCase { { "--", "--screenshot" }, true, nullptr, nullptr, { "--screenshot" } },
            OptionsCase { { "-h" }, true, nullptr, nullptr, {}, true },
            OptionsCase { { "--help" }, true, nullptr, nullptr, {}, true },
            // Refused: no file, an option where the file should be, unknown or misspelt bodies and options.
            OptionsCase { { "--screenshot" }, false }, OptionsCase { { "--screenshot=" }, false },
            OptionsCase { { "--screenshot", "--detail", "mars" }, false }, OptionsCase { { "--detail" }, false },
            OptionsCase { { "--detail", "Mars" }, false }, OptionsCase { { "--detail", "vulcan" }, false },
            OptionsCase { { "--detail", "" }, false }, OptionsCase { { "--screenshots", "a.png" }, false },
            OptionsCase { { "--date" }, false }));

    struct RawCase {
        std::vector<const char*> argv;
        bool screenshot;
    };

    void PrintTo(const RawCase& c, std::ostream* os) { PrintTo(OptionsCase { c.argv, true }, os); }

    class RawCommandLine : public ::testing::TestWithParam<RawCase> { };

    TEST_P(RawCommandLine, TellsAScreenshotBeforeQtStarts)
    {
        std::vector<const char*> argv = GetParam().argv;
        const int argc = static_cast<int>(argv.size());
        argv.push_back(nullptr);
        EXPECT_EQ(wantsScreenshot(argc, argv.data()), GetParam().screenshot);
    }

    INSTANTIATE_TEST_SUITE_P(Arguments, RawCommandLine,
        ::testing::Values(RawCase { { "heliora" }, false }, RawCase { { "heliora", "--screenshot", "a.png" }, true },
            RawCase { { "heliora", "-platform", "xcb", "--screenshot=a.png" }, true },
            RawCase { { "heliora", "--", "--screenshot" }, false }, RawCase { { "heliora", "--screenshots" }, false },
            RawCase { { "--screenshot" }, false }));

} // namespace
} // namespace heliora
