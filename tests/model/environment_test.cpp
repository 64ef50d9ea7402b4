#include "model/environment.h"

#include "support/scopedenv.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include <unicode/uloc.h>

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

    // A language counts as known when one of ICU's available locales speaks it, whichever way that is looked up:
    // every language that ICU has a code for, old codes that it renames, and no language at all.
    TEST(Environment, LanguageIsKnownExactlyWhenAnAvailableLocaleSpeaksIt)
    {
        int32_t count = 0;
        const icu::Locale* available = icu::Locale::getAvailableLocales(count);
        std::set<std::string> spoken;
        for (int32_t i = 0; i < count; ++i)
            spoken.insert(available[i].getLanguage());
        std::vector<std::string> codes { "iw", "sh", "und", "_DE", "und_DE", "x" };
        for (const char* const* code = uloc_getISOLanguages(); *code; ++code)
            codes.emplace_back(*code);
        for (const std::string& code : codes) {
            const icu::Locale canonical = icu::Locale::createCanonical(code.c_str());
            const char* expected = spoken.count(canonical.getLanguage()) ? canonical.getName() : "en_US";
            EXPECT_STREQ(localeFromPosixName(code).getName(), expected) << code;
        }
    }

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
