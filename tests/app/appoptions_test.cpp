#include "app/appoptions.h"

#include "support/scopedenv.h"

#include <gtest/gtest.h>

namespace heliora {
namespace {

    struct OptionsCase {
        QStringList arguments;
        QString error = {}; // empty: accepted
        QString screenshot = {};
        const char* detail = ""; // the body's key
        const char* settings = ""; // the tab's name
        QStringList links = {};
        bool help = false, version = false;
    };

    void PrintTo(const OptionsCase& c, std::ostream* os) { *os << '[' << c.arguments.join(' ').toStdString() << ']'; }

    class CommandLine : public ::testing::TestWithParam<OptionsCase> { };

    TEST_P(CommandLine, IsReadOrRefusedWithOneLine)
    {
        const OptionsCase& c = GetParam();
        QString error;
        const std::optional<AppOptions> options = parseAppOptions(c.arguments, &error);
        ASSERT_EQ(options.has_value(), c.error.isEmpty()) << error.toStdString();
        if (!options) {
            EXPECT_EQ(error, c.error);
            return;
        }
        EXPECT_EQ(options->screenshotPath.value_or(QString()), c.screenshot);
        EXPECT_EQ(options->detail ? options->detail->localizationKey() : "", c.detail);
        EXPECT_EQ(options->settings ? settingsTabName(*options->settings) : QString(), QLatin1String(c.settings));
        EXPECT_EQ(options->links, c.links);
        EXPECT_EQ(options->showHelp, c.help);
        EXPECT_EQ(options->showVersion, c.version);
    }

    const QString bodies = QStringLiteral(" (sun, mercury ... pluto)");

    INSTANTIATE_TEST_SUITE_P(Arguments, CommandLine,
        ::testing::Values(OptionsCase { .arguments = { "--screenshot", "a.png" }, .screenshot = "a.png" },
            OptionsCase {
                .arguments = { "--screenshot=a.png", "--detail", "sun" }, .screenshot = "a.png", .detail = "sun" },
            OptionsCase { .arguments = { "--screenshot=a.png", "--screenshot", "b.png" }, .screenshot = "b.png" },
            OptionsCase {
                .arguments = { "heliora://?date=20240131", "-" }, .links = { "heliora://?date=20240131", "-" } },
            OptionsCase { .arguments = { "--", "--screenshot", "--help" }, .links = { "--screenshot", "--help" } },
            OptionsCase { .arguments = { "--detail", "MARS" }, .detail = "mars" },
            // Help and version win over anything else, an error too.
            OptionsCase { .arguments = { "--bogus", "--help" }, .help = true },
            OptionsCase { .arguments = { "--detail", "vulcan", "--version" }, .version = true },
            OptionsCase { .arguments = { "-h" }, .help = true },
            // The settings window's tab may be left out; a link or an option after --settings is not a tab.
            OptionsCase { .arguments = { "--settings" }, .settings = "general" },
            OptionsCase { .arguments = { "--settings", "solar-system" }, .settings = "solar-system" },
            OptionsCase { .arguments = { "--settings=about", "--settings", "viewing" }, .settings = "viewing" },
            OptionsCase { .arguments = { "--settings", "heliora://?date=20240131" },
                .settings = "general",
                .links = { "heliora://?date=20240131" } },
            OptionsCase { .arguments = { "--settings", "--detail", "mars" }, .detail = "mars", .settings = "general" },
            OptionsCase { .arguments = { "--screenshot", "s.png", "--settings", "about" },
                .screenshot = "s.png",
                .settings = "about" },
            OptionsCase { .arguments = { "--settings", "About" },
                .error = "--settings: unknown tab \"About\" (general, viewing, solar-system, about)" },
            OptionsCase { .arguments = { "--settings=" },
                .error = "--settings: unknown tab \"\" (general, viewing, solar-system, about)" },
            OptionsCase { .arguments = { "--screenshot", "s.png", "--detail", "sun", "--settings" },
                .error = "--screenshot: renders one window; give --detail or --settings, not both" },
            // Refused: one line, naming the option, what is wrong and what is accepted, input quoted.
            OptionsCase {
                .arguments = { "--detail", "vulcan" }, .error = "--detail: unknown body \"vulcan\"" + bodies },
            OptionsCase { .arguments = { "--detail", "sun\n" }, .error = "--detail: unknown body \"sun\\n\"" + bodies },
            OptionsCase { .arguments = { "--detail" }, .error = "--detail: needs a body" + bodies },
            OptionsCase { .arguments = { "--screenshot" },
                .error = "--screenshot: needs a file name (FILE.png, or another format that Qt writes)" },
            OptionsCase { .arguments = { "--screenshot=" },
                .error = "--screenshot: needs a file name (FILE.png, or another format that Qt writes)" },
            // An option where the file name should be is not taken for one.
            OptionsCase { .arguments = { "--screenshot", "--detail", "mars" },
                .error = "--screenshot: needs a file name (FILE.png, or another format that Qt writes)" },
            OptionsCase { .arguments = { "--screenshot", QString::fromUtf8("\xff.png") },
                .error = QString::fromUtf8("--screenshot: the file name \"\xef\xbf\xbd.png\" is not UTF-8 text") },
            OptionsCase { .arguments = { "--date", "tomorrow" },
                .error = "--date: unparsable date \"tomorrow\" (2024-01-31, 2024-01-31T10:00:00Z or @seconds)" },
            OptionsCase { .arguments = { "--screenshots", "a.png" },
                .error = "unknown option \"--screenshots\" (accepted: --screenshot, --date, --detail, --settings, "
                         "--help, --version)" },
            // The first of several errors is the one reported.
            OptionsCase { .arguments = { "-x\x1b[31m", "--detail", "vulcan" },
                .error = "unknown option \"-x\\x1b[31m\" (accepted: --screenshot, --date, --detail, --settings, "
                         "--help, --version)" }));

    TEST(CommandLine, DatesAreReadInTheUsersZone)
    {
        const test::ScopedEnv env { { "TZ", "Asia/Tokyo" } };
        const auto options = parseAppOptions({ QStringLiteral("--date=2024-01-31") }, nullptr);
        ASSERT_TRUE(options && options->date);
        EXPECT_EQ(*options->date, 1706626800.0); // 2024-01-30T15:00:00Z
        EXPECT_FALSE(parseAppOptions({ QStringLiteral("--date") }, nullptr));
    }

    TEST(CommandLine, ArgumentsAreReadAsUtf8AfterTheProgramName)
    {
        const char* argv[] = { "heliora", "--detail", "m\xc3\xa4rs", "\xff", nullptr };
        EXPECT_EQ(argumentsOf(4, argv),
            QStringList({ QStringLiteral("--detail"), QString::fromUtf8("m\xc3\xa4rs"),
                QString(QChar::ReplacementCharacter) }));
    }

} // namespace
} // namespace heliora
