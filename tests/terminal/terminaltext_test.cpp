// Text fit for one line of a terminal message: what heliora, heliora-cli and the settings store echo.

#include "support/rows.h"
#include "terminal/terminaltext.h"

#include <gtest/gtest.h>

namespace heliora {
namespace {

    using test::PrintTo;

    struct QuoteCase {
        const char* name;
        QString input;
        QString expected;
    };

    class Quoting : public ::testing::TestWithParam<QuoteCase> { };

    TEST_P(Quoting, ShowsInputOnOneHarmlessLine)
    {
        const QString quoted = quotedForTerminal(GetParam().input);
        EXPECT_EQ(quoted, GetParam().expected);
        // Nothing that a terminal acts on, or that reorders the line, is left in the result.
        for (const QChar c : quoted)
            EXPECT_FALSE(c.category() == QChar::Other_Control || c.category() == QChar::Other_Format
                || c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph)
                << int(c.unicode());
    }

    const QString hundred(100, QLatin1Char('a'));

    INSTANTIATE_TEST_SUITE_P(Table, Quoting,
        ::testing::Values(QuoteCase { "Plain", QStringLiteral("vulcan"), QStringLiteral("\"vulcan\"") },
            QuoteCase { "LineBreaksAndTab", QStringLiteral("sun\n\r\t"), QStringLiteral("\"sun\\n\\r\\t\"") },
            QuoteCase { "TerminalEscape", QStringLiteral("\x1b[2J"), QStringLiteral("\"\\x1b[2J\"") },
            QuoteCase { "NulAndDelete", QString::fromUtf16(u"a\u0000\u007f", 3), QStringLiteral("\"a\\x00\\x7f\"") },
            QuoteCase { "C1Control", QString::fromUtf16(u"\u0085\u009b"), QStringLiteral("\"\\x85\\x9b\"") },
            QuoteCase {
                "LineSeparators", QString::fromUtf16(u"a\u2028b\u2029"), QStringLiteral("\"a\\u2028b\\u2029\"") },
            QuoteCase { "DirectionMarks", QString::fromUtf16(u"\u202etxt.exe\u2066\u200f"),
                QStringLiteral("\"\\u202etxt.exe\\u2066\\u200f\"") },
            QuoteCase { "LoneSurrogate", QString::fromUtf16(u"x\xd800y", 3), QStringLiteral("\"x\\ud800y\"") },
            QuoteCase { "ZeroWidthAndTagCharacters", QString::fromUtf16(u"a\u200bb\U000E0041"),
                QStringLiteral("\"a\\u200bb\\U000e0041\"") },
            QuoteCase { "PrintableNonAscii", QString::fromUtf16(u"Erde \u00e9 \U0001F30D \u4e2d"),
                QString::fromUtf16(u"\"Erde \u00e9 \U0001F30D \u4e2d\"") },
            QuoteCase { "CutAfterHundred", hundred + QStringLiteral("bcd"), QLatin1Char('"') + hundred + "\"..." },
            // A character outside the first plane is one character, however many UTF-16 units it takes.
            QuoteCase { "CutCountsCharacters", QString::fromUtf16(u"\U0001F30D").repeated(101),
                QLatin1Char('"') + QString::fromUtf16(u"\U0001F30D").repeated(100) + "\"..." }),
        test::rowName);

    // The escapes without quotes, for message text that is not an echo: nothing is cut, quotes stay.
    TEST(EscapedForTerminal, EscapesOnlyWhatATerminalWouldActOn)
    {
        EXPECT_EQ(escapedForTerminal(u"cannot write \"a\nb\": \x1b[31mfull\u2028"),
            QStringLiteral("cannot write \"a\\nb\": \\x1b[31mfull\\u2028"));
        const QString long_(500, QLatin1Char('x'));
        EXPECT_EQ(escapedForTerminal(long_), long_);
    }

} // namespace
} // namespace heliora
