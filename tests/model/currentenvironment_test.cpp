#include "model/currentenvironment.h"

#include "model/environment.h"
#include "model/orbit.h"
#include "support/scopedenv.h"

#include <gtest/gtest.h>

namespace heliora {
namespace {

    constexpr double epochUtc = 946727935.0; // 2000-01-01T11:58:55Z
    constexpr double hour = 3600;

    // One state of the environment and what it names. Steps run in order, each starting from the one before, so
    // that every kept answer is asked for again after a change and after a change back.
    struct Step {
        const char* tz;
        const char* lcAll = nullptr;
        const char* lcTime = nullptr;
        const char* lang = nullptr;
        const char* locale;
        const char* zone;
        double epoch;
    };

    TEST(CurrentEnvironment, FollowsEveryChangeAtOnceAndAgreesWithAFreshReading)
    {
        // clang-format off
        const Step steps[] = {
            { .tz = "UTC", .lcAll = "en_US.UTF-8", .locale = "en_US", .zone = "UTC", .epoch = epochUtc },
            { .tz = "Asia/Tokyo", .lcAll = "en_US.UTF-8", .locale = "en_US", .zone = "Asia/Tokyo",
                .epoch = epochUtc - 9 * hour },
            { .tz = "Asia/Tokyo", .lcTime = "de_DE.UTF-8", .lang = "en_US.UTF-8", .locale = "de_DE",
                .zone = "Asia/Tokyo", .epoch = epochUtc - 9 * hour },
            { .tz = "Asia/Tokyo", .lang = "ja_JP.UTF-8", .locale = "ja_JP", .zone = "Asia/Tokyo",
                .epoch = epochUtc - 9 * hour },
            { .tz = "Asia/Tokyo", .lang = "de_DE.UTF-8", .locale = "de_DE", .zone = "Asia/Tokyo",
                .epoch = epochUtc - 9 * hour },
            // January is winter time in New York (UTC-5).
            { .tz = "America/New_York", .lcAll = "C", .lang = "de_DE.UTF-8", .locale = "en_US_POSIX",
                .zone = "America/New_York", .epoch = epochUtc + 5 * hour },
            // An unknown zone is UTC.
            { .tz = "Nowhere/Special", .lcAll = "C", .locale = "en_US_POSIX", .zone = "UTC", .epoch = epochUtc },
            { .tz = ":Asia/Kathmandu", .lcAll = "C", .locale = "en_US_POSIX", .zone = "Asia/Kathmandu",
                .epoch = epochUtc - 5.75 * hour },
            { .tz = "UTC", .lcAll = "en_US.UTF-8", .locale = "en_US", .zone = "UTC", .epoch = epochUtc },
        };
        // clang-format on
        test::ScopedEnv env;
        for (const Step& step : steps) {
            env.set("TZ", step.tz);
            env.set("LC_ALL", step.lcAll);
            env.set("LC_TIME", step.lcTime);
            env.set("LANG", step.lang);
            SCOPED_TRACE(std::string(step.tz) + ' ' + step.locale);
            EXPECT_STREQ(currentDateLocale().getName(), step.locale);
            EXPECT_EQ(currentDateLocale(), dateLocale());
            EXPECT_EQ(timeZoneId(currentTimeZone()), step.zone);
            EXPECT_TRUE(currentTimeZone() == *userTimeZone());
            EXPECT_EQ(referenceEpoch(), step.epoch);
        }
    }

} // namespace
} // namespace heliora
