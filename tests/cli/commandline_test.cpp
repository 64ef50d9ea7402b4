// heliora-cli's command lines as a user meets them: one error line that names the program, the command, what is
// wrong and what is accepted; help for every command; bodies in any case. Run in the test's own process.

#include "inprocess.h"

#include "cli/errorline.h"
#include "cli/usage.h"
#include "support/rows.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace heliora::cli {
namespace {

    using test::PrintTo;
    using test::runInProcess;

    struct ErrorCase {
        const char* name;
        QList<QByteArray> arguments;
        int status;
        QString prefix; ///< the start of the line, through the command
        QStringList fragments; ///< what the rest must say: what is wrong, what is accepted, the input
    };

    class ErrorLines : public ::testing::TestWithParam<ErrorCase> { };

    TEST_P(ErrorLines, OneLineNamingCommandProblemAndWhatIsAccepted)
    {
        const ErrorCase& c = GetParam();
        const auto result = runInProcess(c.arguments);
        EXPECT_EQ(result.status, c.status);
        EXPECT_TRUE(result.out.isEmpty()) << result.out.constData();
        const QString err = QString::fromUtf8(result.err);
        ASSERT_TRUE(err.endsWith(QLatin1Char('\n')) && err.count(QLatin1Char('\n')) == 1) << qPrintable(err);
        EXPECT_TRUE(err.startsWith(c.prefix)) << qPrintable(err);
        for (const QString& fragment : c.fragments)
            EXPECT_TRUE(err.contains(fragment)) << qPrintable(err) << " lacks " << qPrintable(fragment);
    }

    const QString render = QStringLiteral("heliora-cli: render: ");

    INSTANTIATE_TEST_SUITE_P(Table, ErrorLines,
        ::testing::Values(
            ErrorCase { "ScaleNotANumber", { "render", "--scale", "x", "-o", "o.png" }, 2,
                QStringLiteral("heliora-cli: render: --scale needs a number from 0.5 to 4 (got \"x\")\n"), {} },
            ErrorCase { "ScaleOutOfRange", { "render", "--scale=4.01", "-o", "o.png" }, 2, render,
                { "--scale needs a number from 0.5 to 4", "(got \"4.01\")" } },
            ErrorCase { "DateInWords", { "dates", "--date", "tomorrow" }, 2, QStringLiteral("heliora-cli: dates: "),
                { "--date needs a date: 2024-01-31", "2024-01-31T10:00:00+09:00", "@seconds", "(got \"tomorrow\")" } },
            ErrorCase { "NoBody", { "facts" }, 2, QStringLiteral("heliora-cli: facts: "),
                { "BODY must be one of sun, mercury", "neptune or pluto", "(got nothing)" } },
            ErrorCase { "BodyWithLineBreak", { "facts", "sun\n\x1b[31m" }, 2, QStringLiteral("heliora-cli: facts: "),
                { "(got \"sun\\n\\x1b[31m\")" } },
            ErrorCase { "TwoBodies", { "facts", "sun", "moon" }, 2, QStringLiteral("heliora-cli: facts: "),
                { "unexpected argument \"moon\"", "BODY" } },
            ErrorCase { "MissingValue", { "positions", "--radius" }, 2, QStringLiteral("heliora-cli: positions: "),
                { "--radius needs a finite number (got nothing)" } },
            ErrorCase { "NotFinite", { "positions", "--preset-period", "inf" }, 2,
                QStringLiteral("heliora-cli: positions: "), { "--preset-period needs a finite number (got \"inf\")" } },
            ErrorCase { "UnknownOption", { "render", "--bogus", "-o", "o.png" }, 2, render,
                { "unknown option \"--bogus\"", "--diameter", "-o/--output", "--help" } },
            ErrorCase {
                "NoOutput", { "render" }, 2, render, { "-o needs a file name ending in .png or .svg (got nothing)" } },
            ErrorCase { "PlutoBothWays", { "render", "--pluto", "--no-pluto", "-o", "o.png" }, 2, render,
                { "--pluto or --no-pluto" } },
            ErrorCase { "UnknownBackground", { "render", "--background", "red", "-o", "o.png" }, 2, render,
                { "--background needs black or none (got \"red\")" } },
            ErrorCase { "UnknownZone", { "link", "build", "--time-zone", "Mars/Olympus" }, 2,
                QStringLiteral("heliora-cli: link build: "),
                { "--time-zone needs an IANA time zone", "(got \"Mars/Olympus\")" } },
            ErrorCase { "UnknownLocale", { "dates", "--locale", "xx_YY" }, 2, QStringLiteral("heliora-cli: dates: "),
                { "--locale needs a locale", "de_DE", "(got \"xx_YY\")" } },
            ErrorCase { "LinkWithoutAction", { "link" }, 2, QStringLiteral("heliora-cli: link: "),
                { "build or parse (got nothing)" } },
            ErrorCase { "IgnoredLink", { "link", "parse", "heliora://?date=20241341" }, 1,
                QStringLiteral("heliora-cli: link parse: "),
                { "heliora://?date=", "eight digits", "(got \"heliora://?date=20241341\")" } },
            ErrorCase { "NoCommand", {}, 2, QStringLiteral("heliora-cli: needs a COMMAND"),
                { "positions", "render", "--version", "(got nothing)" } },
            ErrorCase { "UnknownCommand", { "orbit" }, 2, QStringLiteral("heliora-cli: COMMAND must be one of"),
                { "positions", "(got \"orbit\")" } },
            ErrorCase { "VersionWithMore", { "--version", "x" }, 2, QStringLiteral("heliora-cli: --version: "),
                { "(got \"x\")" } },
            ErrorCase {
                "NotUtf8", { "facts", "sun", "\xff\xfe" }, 2, QStringLiteral("heliora-cli: facts: "), { "UTF-8" } }),
        test::rowName);

    // Text that reaches a message without quoting (a library's or the system's error text) cannot break the line.
    TEST(ErrorLine, StaysOneLineWhateverTheMessageHolds)
    {
        EXPECT_EQ(errorLine(u"render", QStringLiteral("cannot write a\nb: \x1b[31mfull\u2028")),
            QStringLiteral("heliora-cli: render: cannot write a\\nb: \\x1b[31mfull\\u2028"));
    }

    // Any case names the body; the output is that of its key.
    TEST(Facts, AnyCaseNamesTheBody)
    {
        const auto typed = runInProcess(QStringList { "facts", "MaRs", "--locale", "en_US" });
        ASSERT_EQ(typed.status, 0) << typed.err.constData();
        EXPECT_EQ(typed.out, runInProcess(QStringList { "facts", "mars", "--locale", "en_US" }).out);
        EXPECT_EQ(QJsonDocument::fromJson(typed.out)["body"].toString(), QStringLiteral("mars"));
    }

    // `help COMMAND`, `COMMAND --help` and `COMMAND -h` print the same usage, whatever else is on the line.
    TEST(Help, EveryWayToAskGivesTheCommandsUsage)
    {
        for (const QString& command : commandNames()) {
            const auto help = runInProcess(QStringList { "help", command });
            ASSERT_EQ(help.status, 0) << qPrintable(command);
            EXPECT_TRUE(help.err.isEmpty());
            EXPECT_TRUE(help.out.startsWith("usage: heliora-cli " + command.toUtf8())) << help.out.constData();
            for (const QStringList& asked : { QStringList { command, "--help" }, QStringList { command, "-h" } }) {
                const auto other = runInProcess(asked);
                EXPECT_EQ(other.status, 0) << qPrintable(asked.join(' '));
                EXPECT_EQ(other.out, help.out) << qPrintable(asked.join(' '));
            }
        }
        const auto overview = runInProcess(QStringList { "help" });
        EXPECT_EQ(overview.out, runInProcess(QStringList { "--help" }).out);
        EXPECT_EQ(overview.out, overviewText().toUtf8());
        // Help wins over the rest of the line, and one form of a command has its own usage.
        EXPECT_EQ(runInProcess(QStringList { "render", "--bogus", "--help" }).status, 0);
        const auto build = runInProcess(QStringList { "link", "build", "--help" });
        EXPECT_TRUE(build.out.startsWith("usage: heliora-cli link build"));
        EXPECT_FALSE(build.out.contains("link parse"));
    }

} // namespace
} // namespace heliora::cli
