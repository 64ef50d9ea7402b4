#include "app/terminaltext.h"

#include <gtest/gtest.h>

namespace heliora {
namespace {

    struct QuoteCase {
        const char* name;
        QString input;
        QString expected;
    };

    void PrintTo(const QuoteCase& c, std::ostream* os) { *os << c.name; }

    class Quoting : public ::testing::TestWithParam<QuoteCase> { };

    TEST_P(Quoting, KeepsEchoedInputOnOneHarmlessLine)
    {
        const QString quoted = quotedForTerminal(GetParam().input);
        EXPECT_EQ(quoted, GetParam().expected);
        for (const QChar c : quoted)
            EXPECT_FALSE(c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
                << int(c.unicode());
    }

    const QString sixtyFour = QString(64, QLatin1Char('a'));

    INSTANTIATE_TEST_SUITE_P(Table, Quoting,
        ::testing::Values(QuoteCase { "Plain", QStringLiteral("vulcan"), QStringLiteral("\"vulcan\"") },
            QuoteCase { "Empty", QString(), QStringLiteral("\"\"") },
            QuoteCase { "LineBreaks", QStringLiteral("sun\r\n"), QStringLiteral("\"sun\\r\\n\"") },
            QuoteCase { "Escape", QStringLiteral("\x1b[2J"), QStringLiteral("\"\\x1b[2J\"") },
            QuoteCase { "QuoteAndBackslash", QStringLiteral("a\"b\\c"), QStringLiteral("\"a\\\"b\\\\c\"") },
            QuoteCase { "DeleteAndC1", QString::fromUtf8("\x7f\xc2\x9b"), QStringLiteral("\"\\x7f\\x9b\"") },
            QuoteCase {
                "BidiOverride", QString::fromUtf8("abc\xe2\x80\xaegnp.exe"), QStringLiteral("\"abc\\u202egnp.exe\"") },
            QuoteCase { "LineSeparator", QString::fromUtf8("a\xe2\x80\xa8z"), QStringLiteral("\"a\\u2028z\"") },
            QuoteCase { "LettersStay", QString::fromUtf8("Erde \xf0\x9f\x8c\x8d"),
                QString::fromUtf8("\"Erde \xf0\x9f\x8c\x8d\"") },
            QuoteCase { "SixtyFourStay", sixtyFour, '"' + sixtyFour + '"' },
            QuoteCase { "LongerIsCut", sixtyFour + QStringLiteral("\nbc"), '"' + sixtyFour + QStringLiteral("...\"") }),
        [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace heliora
