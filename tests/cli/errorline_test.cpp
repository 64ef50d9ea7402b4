// The one-line error messages of heliora-cli: how echoed input is quoted, and that a line stays one line.

#include "cli/errorline.h"

#include <gtest/gtest.h>

namespace heliora::cli {
namespace {

    struct QuoteCase {
        const char* name;
        QString input;
        QString expected;
    };

    void PrintTo(const QuoteCase& c, std::ostream* os) { *os << c.name; }

    class Quoting : public ::testing::TestWithParam<QuoteCase> { };

    TEST_P(Quoting, ShowsInputOnOneVisibleLine) { EXPECT_EQ(quoted(GetParam().input), GetParam().expected); }

    const QString hundred(100, QLatin1Char('a'));

    INSTANTIATE_TEST_SUITE_P(Table, Quoting,
        ::testing::Values(QuoteCase { "Plain", QStringLiteral("vulcan"), QStringLiteral("\"vulcan\"") },
            QuoteCase { "Empty", QString(), QStringLiteral("\"\"") },
            QuoteCase { "LineBreaksAndTab", QStringLiteral("sun\n\r\t"), QStringLiteral("\"sun\\n\\r\\t\"") },
            QuoteCase { "TerminalEscape", QStringLiteral("\x1b[2J"), QStringLiteral("\"\\x1b[2J\"") },
            QuoteCase { "NulAndDelete", QString::fromUtf16(u"a\u0000\u007f", 3), QStringLiteral("\"a\\x00\\x7f\"") },
            QuoteCase { "C1Control", QString::fromUtf16(u"\u0085\u009b"), QStringLiteral("\"\\x85\\x9b\"") },
            QuoteCase { "QuoteAndBackslash", QStringLiteral("a\"b\\"), QStringLiteral("\"a\\\"b\\\\\"") },
            QuoteCase {
                "LineSeparators", QString::fromUtf16(u"a\u2028b\u2029"), QStringLiteral("\"a\\u2028b\\u2029\"") },
            QuoteCase { "DirectionMarks", QString::fromUtf16(u"\u202etxt.exe\u2066\u200f"),
                QStringLiteral("\"\\u202etxt.exe\\u2066\\u200f\"") },
            QuoteCase { "LoneSurrogate", QString::fromUtf16(u"x\xd800y", 3), QStringLiteral("\"x\\ud800y\"") },
            QuoteCase { "PrintableNonAscii", QString::fromUtf16(u"Erde \u00e9 \U0001F30D \u4e2d"),
                QString::fromUtf16(u"\"Erde \u00e9 \U0001F30D \u4e2d\"") },
            QuoteCase { "HundredCharacters", hundred, QLatin1Char('"') + hundred + QLatin1Char('"') },
            QuoteCase { "CutAfterHundred", hundred + QStringLiteral("bcd"), QLatin1Char('"') + hundred + "\"..." },
            // A character outside the first plane is one character, however many UTF-16 units it takes.
            QuoteCase { "CutCountsCharacters", QString::fromUtf16(u"\U0001F30D").repeated(101),
                QLatin1Char('"') + QString::fromUtf16(u"\U0001F30D").repeated(100) + "\"..." }),
        [](const auto& info) { return std::string(info.param.name); });

    // Text that reaches a message without quoting (a system's error text, a file name in it) cannot break the line.
    TEST(ErrorLine, StaysOneLineWhateverTheMessageHolds)
    {
        const QString line = errorLine(u"render", QStringLiteral("cannot write a\nb: \x1b[31mfull\u2028"));
        EXPECT_EQ(line, QStringLiteral("heliora-cli: render: cannot write a\\nb: \\x1b[31mfull\\u2028"));
    }

    TEST(ErrorLine, ErrorsCarryTheirWholeLine)
    {
        const UsageError usage(u"facts", QStringLiteral("BODY must be one of sun") + got(u"a\nb"));
        EXPECT_STREQ(usage.what(), "heliora-cli: facts: BODY must be one of sun (got \"a\\nb\")");
        // The form that names no command, as the settings command has used it.
        EXPECT_STREQ(UsageError(std::string("settings: expected get")).what(), "heliora-cli: settings: expected get");
    }

} // namespace
} // namespace heliora::cli
