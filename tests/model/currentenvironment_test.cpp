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
        const char* lcAll;
        const char* lcTime;
        const char* lang;
        const char* locale;
        const char* zone;
        double epoch;
    };

    TEST(CurrentEnvironment, FollowsEveryChangeAtOnceAndAgreesWithAFreshReading)
    {
        const Step steps[] = {
            { "UTC", "en_US.UTF-8", nullptr, nullptr, "en_US", "UTC", epochUtc },
            { "Asia/Tokyo", "en_US.UTF-8", nullptr, nullptr, "en_US", "Asia/Tokyo", epochUtc - 9 * hour },
            { "Asia/Tokyo", nullptr, "de_DE.UTF-8", "en_US.UTF-8", "de_DE", "Asia/Tokyo", epochUtc - 9 * hour },
            { "Asia/Tokyo", nullptr, "en_GB.UTF-8", "en_US.UTF-8", "en_GB", "Asia/Tokyo", epochUtc - 9 * hour },
            { "Asia/Tokyo", nullptr, nullptr, "ja_JP.UTF-8", "ja_JP", "Asia/Tokyo", epochUtc - 9 * hour },
            { "Asia/Tokyo", nullptr, nullptr, "de_DE.UTF-8", "de_DE", "Asia/Tokyo", epochUtc - 9 * hour },
            { "America/New_York", "C", nullptr, "de_DE.UTF-8", "en_US_POSIX", "America/New_York", epochUtc + 5 * hour },
            { "Nowhere/Special", "C", nullptr, nullptr, "en_US_POSIX", "UTC", epochUtc }, // an unknown zone is UTC
            { ":Asia/Kathmandu", "C", nullptr, nullptr, "en_US_POSIX", "Asia/Kathmandu", epochUtc - 5.75 * hour },
            { "UTC", "en_US.UTF-8", nullptr, nullptr, "en_US", "UTC", epochUtc },
        };
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
