#include "model/environment.h"

#include "support/scopedenv.h"

#include <gtest/gtest.h>

namespace heliora {
namespace {

    struct PosixCase {
        const char* posix;
        const char* icu;
    };

    void PrintTo(const PosixCase& c, std::ostream* os) { *os << '"' << c.posix << '"'; }

    class LocaleFromPosixName : public ::testing::TestWithParam<PosixCase> { };

    TEST_P(LocaleFromPosixName, MapsToIcu)
    {
        EXPECT_STREQ(localeFromPosixName(GetParam().posix).getName(), GetParam().icu);
    }

    INSTANTIATE_TEST_SUITE_P(Table, LocaleFromPosixName,
        ::testing::Values(PosixCase { "de_DE.UTF-8", "de_DE" }, PosixCase { "en_GB", "en_GB" },
            PosixCase { "de_DE@euro", "de_DE" }, PosixCase { "C", "en_US_POSIX" }, PosixCase { "POSIX", "en_US_POSIX" },
            PosixCase { "C.UTF-8", "en_US_POSIX" }, PosixCase { "", "en_US_POSIX" },
            PosixCase { "xx_YY.UTF-8", "en_US" }));

    TEST(Environment, EachKindOfLocaleReadsItsOwnVariables)
    {
        test::ScopedEnv env { { "LANGUAGE", nullptr }, { "LC_ALL", nullptr }, { "LANG", "en_US.UTF-8" },
            { "LC_NUMERIC", "de_DE.UTF-8" }, { "LC_TIME", "ja_JP.UTF-8" }, { "LC_MESSAGES", "en_GB.UTF-8" } };
        EXPECT_STREQ(numberLocale().getName(), "de_DE");
        EXPECT_STREQ(dateLocale().getName(), "ja_JP");
        EXPECT_STREQ(messagesLocale().getName(), "en_GB");
        env.set("LANGUAGE", "de:en");
        EXPECT_STREQ(messagesLocale().getName(), "de");
        env.set("LC_ALL", "en_GB.UTF-8");
        EXPECT_STREQ(numberLocale().getName(), "en_GB");
        EXPECT_STREQ(dateLocale().getName(), "en_GB");
    }

} // namespace
} // namespace heliora
