#include "datetexts.h"

#include "civildays.h"
#include "environment.h"
#include "scopedenv.h"
#include "stringtable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace heliora {
namespace {

    using test::utcSeconds;

    std::unique_ptr<icu::TimeZone> zone(const char* id)
    {
        auto result = timeZoneFromId(id);
        EXPECT_NE(result, nullptr) << id;
        return result;
    }

    struct DisplayCase {
        const char* locale;
        const char* zone;
        double date;
        const char* expected;
    };

    void PrintTo(const DisplayCase& c, std::ostream* os) { *os << c.locale << ' ' << c.zone << ' ' << c.expected; }

    class DisplayDate : public ::testing::TestWithParam<DisplayCase> { };

    TEST_P(DisplayDate, WritesTheLocalDayInTheLocalesPattern)
    {
        const DisplayCase& c = GetParam();
        EXPECT_EQ(displayDateText(c.date, icu::Locale(c.locale), *zone(c.zone)), QString::fromUtf8(c.expected));
    }

    const double lateOn31January2024 = utcSeconds(2024, 1, 31, 20, 0);

    INSTANTIATE_TEST_SUITE_P(Locales, DisplayDate,
        ::testing::Values(DisplayCase { "en_US", "UTC", lateOn31January2024, "01/31/2024" },
            DisplayCase { "en_GB", "UTC", lateOn31January2024, "31/01/2024" },
            DisplayCase { "de_DE", "UTC", lateOn31January2024, "31.01.2024" },
            DisplayCase { "ja_JP", "UTC", lateOn31January2024, "2024/01/31" },
            // The day is the zone's: already 1 February in Tokyo.
            DisplayCase { "en_US", "Asia/Tokyo", lateOn31January2024, "02/01/2024" },
            // Locales with another calendar keep it near the present.
            DisplayCase { "th_TH", "UTC", lateOn31January2024, "31/01/2567" }));

    INSTANTIATE_TEST_SUITE_P(Eras, DisplayDate,
        ::testing::Values(DisplayCase { "en_US", "UTC", utcSeconds(1, 1, 1, 12), "01/01/0001" },
            DisplayCase { "en_US", "UTC", utcSeconds(0, 12, 31, 12), "12/31/0001 BC" },
            DisplayCase { "en_US", "UTC", utcSeconds(-499, 3, 15, 12), "03/15/0500 BC" },
            DisplayCase { "de_DE", "UTC", utcSeconds(-499, 3, 15, 12), "15.03.0500 v. Chr." },
            DisplayCase { "ja_JP", "UTC", utcSeconds(-499, 3, 15, 12), "紀元前0500/03/15" },
            // Proleptic Gregorian: no Julian dates before 1582, and the ten days that the switch skipped exist.
            DisplayCase { "en_US", "UTC", utcSeconds(1500, 3, 1, 12), "03/01/1500" },
            DisplayCase { "en_US", "UTC", utcSeconds(1582, 10, 10, 12), "10/10/1582" }));

    // Beyond ICU's reach (5.8 million years) and beyond its exact year counts (4.1 million).
    INSTANTIATE_TEST_SUITE_P(FarDates, DisplayDate,
        ::testing::Values(DisplayCase { "en_US", "UTC", utcSeconds(10'000, 1, 1, 12), "01/01/10000" },
            DisplayCase { "en_US", "UTC", utcSeconds(11'969, 12, 31, 23, 59, 59), "12/31/11969" },
            DisplayCase { "en_US", "UTC", utcSeconds(11'970, 1, 1, 0, 0, 1), "01/01/11970" },
            DisplayCase { "en_US", "UTC", utcSeconds(-8'031, 12, 31, 23, 59, 59), "12/31/8032 BC" },
            DisplayCase { "en_US", "UTC", utcSeconds(5'900'000, 2, 29, 12), "02/29/5900000" },
            DisplayCase { "en_US", "UTC", utcSeconds(-5'900'000, 2, 29, 12), "02/29/5900001 BC" },
            DisplayCase { "de_DE", "UTC", utcSeconds(1'000'000'000, 7, 4, 12), "04.07.1000000000" },
            DisplayCase { "en_US", "UTC", utcSeconds(100'000'000'000, 12, 31, 12), "12/31/100000000000" },
            // The year and the day come from the same local instant, east of UTC in the far future...
            DisplayCase { "en_US", "Pacific/Kiritimati", utcSeconds(10'000'000, 12, 31, 12), "01/01/10000001" },
            // ... and with the zone's first offset (Berlin's local mean time, +0:53:28) in the far past.
            DisplayCase { "en_US", "Europe/Berlin", utcSeconds(-9'999'999, 12, 31, 23, 30), "01/01/9999999 BC" },
            // A calendar other than the Gregorian one gives way to it far out, and says so with the era.
            DisplayCase { "th_TH", "UTC", utcSeconds(20'000, 5, 6, 12), "06/05/ค.ศ. 20000" },
            // Too far to count, or not a number: nothing rather than a wrong date.
            DisplayCase { "en_US", "UTC", 0x1p62, "" }, DisplayCase { "en_US", "UTC", -0x1p62, "" },
            DisplayCase { "en_US", "UTC", std::numeric_limits<double>::infinity(), "" },
            DisplayCase { "en_US", "UTC", std::nan(""), "" }));

    // The day, month and year of random dates out to 2^62 seconds, against the civil-calendar arithmetic.
    TEST(DisplayDate, FarDatesMatchTheCivilCalendar)
    {
        std::mt19937_64 random(20240131);
        std::uniform_int_distribution<int> month(1, 12);
        std::uniform_int_distribution<int> day(1, 28);
        std::uniform_real_distribution<double> magnitude(0.0, std::log10(1.4e11));
        const auto utc = zone("UTC");
        const icu::Locale english("en_US");
        for (int i = 0; i < 400; ++i) {
            const auto size = static_cast<std::int64_t>(std::pow(10.0, magnitude(random)));
            const std::int64_t year = (random() % 2 == 0) ? size : -size;
            const int m = month(random);
            const int d = day(random);
            // Noon: far out a double's step grows to 1024 s, which must not change the day.
            const double date = utcSeconds(year, m, d, 12);
            const QString expected = QStringLiteral("%1/%2/%3%4")
                                         .arg(m, 2, 10, QLatin1Char('0'))
                                         .arg(d, 2, 10, QLatin1Char('0'))
                                         .arg(year > 0 ? year : 1 - year, 4, 10, QLatin1Char('0'))
                                         .arg(year > 0 ? QString() : QStringLiteral(" BC"));
            ASSERT_EQ(displayDateText(date, english, *utc), expected) << "year " << year;
        }
    }

    TEST(DisplayDate, DefaultsFollowAChangedEnvironment)
    {
        test::ScopedEnv env;
        test::pinLocale(env, "de_DE.UTF-8");
        env.set("TZ", "Asia/Tokyo");
        EXPECT_EQ(displayDateText(lateOn31January2024), QStringLiteral("01.02.2024"));
        // ICU caches its default zone; the texts must not use it.
        env.set("TZ", "America/New_York");
        EXPECT_EQ(displayDateText(lateOn31January2024), QStringLiteral("31.01.2024"));
        env.set("LC_ALL", "en_US.UTF-8");
        EXPECT_EQ(displayDateText(lateOn31January2024), QStringLiteral("01/31/2024"));
    }

    struct CaptionCase {
        const char* name;
        const char* language;
        const char* zone;
        double now;
        double date;
        const char* expected; // null: no caption
    };

    void PrintTo(const CaptionCase& c, std::ostream* os) { *os << c.name; }

    class Caption : public ::testing::TestWithParam<CaptionCase> { };

    TEST_P(Caption, CountsWholeDaysThenYears)
    {
        const CaptionCase& c = GetParam();
        const Strings strings(QString::fromLatin1(c.language));
        const auto caption = relativeDateText(c.date, c.now, icu::Locale(c.language), *zone(c.zone), strings);
        if (c.expected)
            EXPECT_EQ(caption, QString::fromUtf8(c.expected));
        else
            EXPECT_EQ(caption, std::nullopt);
    }

    constexpr double day = 86'400;
    const double now = utcSeconds(2024, 1, 31, 12);

    INSTANTIATE_TEST_SUITE_P(Table, Caption,
        ::testing::Values(CaptionCase { "Now", "en", "UTC", now, now, nullptr },
            CaptionCase { "AlmostADayAhead", "en", "UTC", now, now + day - 1, nullptr },
            CaptionCase { "AlmostADayBack", "en", "UTC", now, now - day + 1, nullptr },
            CaptionCase { "OneDayAhead", "en", "UTC", now, now + day, "1 DAY" },
            CaptionCase { "OneDayBack", "en", "UTC", now, now - day, "-1 DAY" },
            CaptionCase { "Days364", "en", "UTC", now, now + 364 * day, "364 DAYS" },
            CaptionCase { "DaysMinus364", "en", "UTC", now, now - 364 * day, "-364 DAYS" },
            // 365 days after 31 January of a leap year is 30 January: not yet a whole year.
            CaptionCase { "Days365AreZeroYears", "en", "UTC", now, now + 365 * day, "0 YEARS" },
            CaptionCase { "Days366AreOneYear", "en", "UTC", now, now + 366 * day, "1 YEAR" },
            CaptionCase { "Days365BackAreMinusOneYear", "en", "UTC", now, now - 365 * day, "-1 YEAR" },
            CaptionCase { "German", "de", "UTC", now, now - 2 * day, "-2 TAGE" },
            CaptionCase { "GermanYears", "de", "UTC", now, utcSeconds(2026, 2, 1), "2 JAHRE" },
            // Calendar days in the zone: 23 hours across the spring change are one whole day.
            CaptionCase { "DaylightSavingDay", "en", "Europe/Berlin", utcSeconds(2024, 3, 30, 11),
                utcSeconds(2024, 3, 31, 10), "1 DAY" },
            CaptionCase { "AcrossTheEras", "en", "UTC", utcSeconds(1, 6, 1), utcSeconds(-1, 6, 1), "-2 YEARS" },
            // Exact far beyond fieldDifference's 4.1 million years and ICU's 5.8 million.
            CaptionCase { "TenMillionYears", "en", "UTC", now, utcSeconds(10'002'024, 1, 31, 12), "10000000 YEARS" },
            CaptionCase { "TenMillionYearsLessASecond", "en", "UTC", now, utcSeconds(10'002'024, 1, 31, 12) - 1,
                "9999999 YEARS" },
            CaptionCase {
                "FiveMillionYearsBack", "en", "UTC", now, utcSeconds(-4'997'976, 1, 31, 12), "-5000000 YEARS" },
            CaptionCase { "FiveMillionYearsBackAndASecond", "en", "UTC", now, utcSeconds(-4'997'976, 1, 31, 12) + 1,
                "-4999999 YEARS" },
            CaptionCase { "NowFarAway", "en", "UTC", utcSeconds(-20'000, 1, 1), utcSeconds(-20'000, 1, 3), "2 DAYS" },
            CaptionCase { "TooFarToCount", "en", "UTC", now, 0x1p62, nullptr },
            CaptionCase { "NotANumber", "en", "UTC", now, std::nan(""), nullptr }));

    TEST(Caption, FarYearsMatchTheCivilCalendar)
    {
        // Whole years from 31 January 2024, noon, to 30 January (earlier in its year) or 1 February (later) of
        // another year: the year difference, one less toward the date when the date's year is not complete.
        // (Far out a double's step is 1024 s, so the dates keep clear of noon on 31 January.)
        std::mt19937_64 random(7);
        std::uniform_real_distribution<double> magnitude(4.0, std::log10(1.4e11));
        const auto utc = zone("UTC");
        const Strings english(QStringLiteral("en"));
        for (int i = 0; i < 300; ++i) {
            const auto size = static_cast<std::int64_t>(std::pow(10.0, magnitude(random)));
            const std::int64_t year = (random() % 2 == 0) ? size : -size;
            const bool earlierInTheYear = random() % 2 == 0;
            const double date = earlierInTheYear ? utcSeconds(year, 1, 30, 12) : utcSeconds(year, 2, 1, 12);
            std::int64_t years = year - 2024;
            if (year > 2024 && earlierInTheYear)
                --years;
            if (year < 2024 && !earlierInTheYear)
                ++years;
            const QString plural = (years == 1 || years == -1) ? QStringLiteral("YEAR") : QStringLiteral("YEARS");
            ASSERT_EQ(relativeDateText(date, now, icu::Locale("en"), *utc, english),
                QStringLiteral("%1 %2").arg(years).arg(plural))
                << "year " << year;
        }
    }

} // namespace
} // namespace heliora
