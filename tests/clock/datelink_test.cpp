#include "datetexts.h"

#include "civildays.h"
#include "environment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace heliora {
namespace {

    using test::utcSeconds;

    const QString prefix = QStringLiteral("heliora://?date=");

    std::unique_ptr<icu::TimeZone> zone(const char* id)
    {
        auto result = timeZoneFromId(id);
        EXPECT_NE(result, nullptr) << id;
        return result;
    }

    struct ParseCase {
        const char* name;
        QString link;
        const char* zone;
        std::optional<double> expected;
    };

    void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }

    class ParseLink : public ::testing::TestWithParam<ParseCase> { };

    TEST_P(ParseLink, OpensTheFirstInstantOfTheDayOrNothing)
    {
        const ParseCase& c = GetParam();
        EXPECT_EQ(parseDateLink(c.link, *zone(c.zone)), c.expected) << c.link.toStdString();
    }

    const double berlinMidnight31January = utcSeconds(2024, 1, 30, 23);

    INSTANTIATE_TEST_SUITE_P(Examples, ParseLink,
        ::testing::Values(ParseCase { "Date", prefix + "20240131", "Europe/Berlin", berlinMidnight31January },
            ParseCase { "Utc", prefix + "20240131", "UTC", utcSeconds(2024, 1, 31) },
            ParseCase { "TrailingEqualsSign", prefix + "20240131=", "Europe/Berlin", berlinMidnight31January },
            ParseCase { "LastPieceCounts", prefix + "x=20240131", "Europe/Berlin", berlinMidnight31January },
            ParseCase { "FirstYear", prefix + "00010101", "UTC", utcSeconds(1, 1, 1) },
            ParseCase { "LastYear", prefix + "99991231", "UTC", utcSeconds(9999, 12, 31) },
            ParseCase { "LeapDay", prefix + "20240229", "UTC", utcSeconds(2024, 2, 29) },
            ParseCase { "BarePrefix", prefix, "UTC", std::nullopt },
            ParseCase { "SevenDigits", prefix + "2024013", "UTC", std::nullopt },
            ParseCase { "EightLetters", prefix + "abcdefgh", "UTC", std::nullopt },
            ParseCase { "Month13", prefix + "20241341", "UTC", std::nullopt },
            ParseCase { "SplitDate", prefix + "2024=0131", "UTC", std::nullopt },
            ParseCase { "OtherScheme", "orrery://?date=20240131", "UTC", std::nullopt },
            ParseCase { "SchemeInCapitals", "Heliora://?date=20240131", "UTC", std::nullopt },
            ParseCase { "KeyInCapitals", "heliora://?Date=20240131", "UTC", std::nullopt },
            ParseCase { "YearBeyond9999", prefix + "100000101", "UTC", std::nullopt },
            ParseCase { "NotALeapYear", prefix + "20230229", "UTC", std::nullopt },
            ParseCase { "Day31InApril", prefix + "20240431", "UTC", std::nullopt },
            ParseCase { "Day0", prefix + "20240100", "UTC", std::nullopt },
            ParseCase { "Year0", prefix + "00000131", "UTC", std::nullopt },
            ParseCase { "AnotherQueryKeyAfter", prefix + "20240131&x=1", "UTC", std::nullopt }));

    // Eight characters that are not eight ASCII digits; ICU reads several of them as a date if asked.
    INSTANTIATE_TEST_SUITE_P(TextAroundTheDigits, ParseLink,
        ::testing::Values(ParseCase { "TrailingLetter", prefix + "2024013x", "UTC", std::nullopt },
            ParseCase { "LeadingSpace", prefix + " 2024013", "UTC", std::nullopt },
            ParseCase { "TrailingSpace", prefix + "20240131 ", "UTC", std::nullopt },
            ParseCase { "Plus", prefix + "+2024013", "UTC", std::nullopt },
            ParseCase { "Minus", prefix + "-0240131", "UTC", std::nullopt },
            ParseCase { "FullWidthDigits", prefix + QString::fromUtf8("２０２４０１３１"), "UTC", std::nullopt },
            ParseCase { "ArabicIndicDigits", prefix + QString::fromUtf8("٢٠٢٤٠١٣١"), "UTC", std::nullopt },
            ParseCase { "CombiningMark", prefix + QString::fromUtf8("20240131\u0301"), "UTC", std::nullopt },
            ParseCase { "BeforeChrist", prefix + "05000101BC", "UTC", std::nullopt }));

    INSTANTIATE_TEST_SUITE_P(DaylightSaving, ParseLink,
        ::testing::Values(
            // Clocks went from 00:00 to 01:00: the day begins at 01:00 (-02:00).
            ParseCase { "SkippedMidnight", prefix + "20181104", "America/Sao_Paulo", utcSeconds(2018, 11, 4, 3) },
            // Clocks went from 01:00 back to 00:00: the day begins at the first of its two midnights (-04:00).
            ParseCase { "RepeatedMidnight", prefix + "20231105", "America/Havana", utcSeconds(2023, 11, 5, 4) },
            // Samoa skipped 30 December 2011 altogether: no instant of it exists there.
            ParseCase { "SkippedDay", prefix + "20111230", "Pacific/Apia", std::nullopt },
            ParseCase { "DayAfterTheSkippedDay", prefix + "20111231", "Pacific/Apia", utcSeconds(2011, 12, 30, 10) }));

    struct BuildCase {
        const char* name;
        double date;
        const char* zone;
        const char* expected;
    };

    void PrintTo(const BuildCase& c, std::ostream* os) { *os << c.name; }

    class BuildLink : public ::testing::TestWithParam<BuildCase> { };

    TEST_P(BuildLink, WritesTheLocalDay)
    {
        const BuildCase& c = GetParam();
        EXPECT_EQ(buildDateLink(c.date, *zone(c.zone)), prefix + QString::fromLatin1(c.expected));
    }

    INSTANTIATE_TEST_SUITE_P(Table, BuildLink,
        ::testing::Values(BuildCase { "Midnight", berlinMidnight31January, "Europe/Berlin", "20240131" },
            BuildCase { "LocalDayNotUtcDay", utcSeconds(2024, 1, 30, 23, 30), "Europe/Berlin", "20240131" },
            BuildCase { "FirstYear", utcSeconds(1, 1, 1), "UTC", "00010101" },
            BuildCase { "LastInstantOf9999", utcSeconds(9999, 12, 31, 23, 59, 59), "UTC", "99991231" },
            // Longer than eight characters, so a receiver ignores them instead of opening another day.
            BuildCase { "Year10000", utcSeconds(10'000, 1, 1), "UTC", "100000101" },
            BuildCase { "OneBC", utcSeconds(0, 6, 1), "UTC", "00010601BC" },
            BuildCase { "FiveHundredBC", utcSeconds(-499, 3, 15), "UTC", "05000315BC" },
            BuildCase { "TenMillionYears", utcSeconds(10'000'000, 1, 1, 12), "UTC", "100000000101" },
            BuildCase { "TenMillionYearsBC", utcSeconds(-9'999'999, 1, 1, 12), "UTC", "100000000101BC" },
            BuildCase { "TooFarToCount", 0x1p62, "UTC", "" }, BuildCase { "NotANumber", std::nan(""), "UTC", "" }));

    // Every day of the years 1 to 9999, in zones with skipped and repeated midnights, opens as itself: the link
    // of any instant parses to the first instant of the same local day.
    TEST(DateLink, RoundTripsEveryDayInEveryZone)
    {
        std::mt19937_64 random(31);
        std::uniform_real_distribution<double> dates(utcSeconds(1, 1, 2), utcSeconds(9999, 12, 30));
        for (const char* id : { "UTC", "Europe/Berlin", "America/Sao_Paulo", "America/Havana", "Pacific/Apia",
                 "Australia/Lord_Howe", "Asia/Kolkata", "Pacific/Kiritimati", "America/St_Johns" }) {
            const auto tz = zone(id);
            std::vector<double> samples;
            for (int i = 0; i < 150; ++i)
                samples.push_back(std::floor(dates(random)));
            // Every hour around a skipped midnight (Sao Paulo, 4 November 2018), a repeated one (Havana, the same
            // day) and a skipped day (Apia, 30 December 2011), and every twelfth hour of 2018 and 2019.
            for (double hour = utcSeconds(2018, 11, 1); hour < utcSeconds(2018, 11, 8); hour += 3'600)
                samples.push_back(hour);
            for (double hour = utcSeconds(2011, 12, 28); hour < utcSeconds(2012, 1, 3); hour += 3'600)
                samples.push_back(hour);
            for (double hour = utcSeconds(2018, 1, 1); hour < utcSeconds(2020, 1, 1); hour += 12 * 3'600)
                samples.push_back(hour);
            for (const double date : samples) {
                const QString link = buildDateLink(date, *tz);
                const auto parsed = parseDateLink(link, *tz);
                ASSERT_TRUE(parsed.has_value()) << id << ' ' << link.toStdString();
                ASSERT_LE(*parsed, date) << id << ' ' << link.toStdString();
                ASSERT_EQ(buildDateLink(*parsed, *tz), link) << id;
                ASSERT_NE(buildDateLink(*parsed - 1, *tz), link)
                    << id << " not the first instant of " << link.toStdString();
            }
        }
    }

} // namespace
} // namespace heliora
