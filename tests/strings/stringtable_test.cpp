#include "strings/stringtable.h"

#include <gtest/gtest.h>

namespace heliora {
namespace {

    struct TextCase {
        const char* language;
        TextKey key;
        const char* expected;
    };

    void PrintTo(const TextCase& c, std::ostream* os) { *os << c.language << ' ' << c.key.key; }

    class StringTable : public ::testing::TestWithParam<TextCase> { };

    TEST_P(StringTable, LooksUpAndFills)
    {
        const Strings table(QString::fromLatin1(GetParam().language));
        EXPECT_EQ(table.text(GetParam().key), QString::fromUtf8(GetParam().expected));
    }

    INSTANTIATE_TEST_SUITE_P(Table, StringTable,
        ::testing::Values(TextCase { "de_DE.UTF-8", TextKey { "sun" }, "Sonne" },
            TextCase { "en", TextKey { "%@ AU", "0.98" }, "0.98 AU" },
            TextCase { "de", TextKey { "%@ AU", "0,98" }, "0,98 AE" },
            TextCase { "en", TextKey { "%@ x ", "332,948" }, "332,948 x " },
            TextCase { "en", TextKey { "number_of_days", {}, 1 }, "1 day" },
            TextCase { "en", TextKey { "number_of_days", {}, -1 }, "-1 day" },
            TextCase { "de", TextKey { "number_of_days", {}, 1 }, "1 Tag" },
            TextCase { "de", TextKey { "number_of_years", {}, 29 }, "29 Jahre" },
            TextCase { "en", TextKey { "number_of_years", {}, 9'000'000'000 }, "9000000000 years" },
            TextCase { "en", TextKey { "%lldx", {}, 10000 }, "10000×" },
            TextCase { "xx", TextKey { "mass" }, "Mass" }));

    TEST(StringTable, LanguageFallsBackToEnglish)
    {
        EXPECT_EQ(Strings(QStringLiteral("fr_FR")).language(), QStringLiteral("en"));
        EXPECT_EQ(Strings(QStringLiteral("de_AT")).language(), QStringLiteral("de"));
    }

    TEST(StringTable, JoinsKeys)
    {
        const Strings table(QStringLiteral("en"));
        EXPECT_EQ(table.joined(std::vector<std::string> { "source", " ", "NSSDCA" }), QStringLiteral("Source: NSSDCA"));
        EXPECT_EQ(
            table.joined(std::vector { TextKey { "%@ x ", "25" }, TextKey { "earth" } }), QStringLiteral("25 x Earth"));
    }

} // namespace
} // namespace heliora
