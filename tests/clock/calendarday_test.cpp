#include "clock/calendarday.h"

#include "model/environment.h"
#include "support/utcseconds.h"

#include <gtest/gtest.h>

#include <cmath>

namespace heliora {
namespace {

    using test::utcSeconds;
    const std::nullopt_t none = std::nullopt;

    std::unique_ptr<icu::TimeZone> zone(const char* id)
    {
        auto result = timeZoneFromId(id);
        EXPECT_NE(result, nullptr) << id;
        return result;
    }

    // An instant, its day in the zone, that day's first instant, and where the instant's time of day lands on
    // another day.
    struct DayCase {
        const char* name;
        const char* zone;
        double instant;
        QDate day;
        std::optional<double> dayStart;
        QDate otherDay;
        std::optional<double> sameTimeOnOtherDay;
    };

    void PrintTo(const DayCase& c, std::ostream* os) { *os << c.name; }

    class CalendarDays : public ::testing::TestWithParam<DayCase> { };

    TEST_P(CalendarDays, ConvertBothWays)
    {
        const DayCase& c = GetParam();
        EXPECT_EQ(localDay(c.instant, *zone(c.zone)), c.day);
        EXPECT_EQ(startOfDay(c.day, *zone(c.zone)), c.dayStart);
        EXPECT_EQ(onDayAtTimeOf(c.otherDay, c.instant, *zone(c.zone)), c.sameTimeOnOtherDay);
    }

    INSTANTIATE_TEST_SUITE_P(Table, CalendarDays,
        ::testing::Values(DayCase { "Utc", "UTC", utcSeconds(2024, 1, 31, 10, 30) + 0.25, QDate(2024, 1, 31),
                              utcSeconds(2024, 1, 31), QDate(1991, 1, 9), utcSeconds(1991, 1, 9, 10, 30) + 0.25 },
            // Tokyo is a day ahead of UTC in the evening; its midnight is 15:00 UTC the day before.
            DayCase { "TokyoAhead", "Asia/Tokyo", utcSeconds(2024, 1, 31, 20), QDate(2024, 2, 1),
                utcSeconds(2024, 1, 31, 15), QDate(1991, 1, 9), utcSeconds(1991, 1, 8, 20) },
            // 10:00 in Berlin's winter is 10:00 in its summer: wall-clock time, not a count of seconds.
            DayCase { "BerlinAcrossSummerTime", "Europe/Berlin", utcSeconds(2024, 1, 31, 9), QDate(2024, 1, 31),
                utcSeconds(2024, 1, 30, 23), QDate(2024, 7, 1), utcSeconds(2024, 7, 1, 8) },
            // 02:30 does not exist on 31 March 2024 in Berlin: it moves forward by the hour skipped.
            DayCase { "BerlinSkippedHour", "Europe/Berlin", utcSeconds(2024, 1, 10, 1, 30), QDate(2024, 1, 10),
                utcSeconds(2024, 1, 9, 23), QDate(2024, 3, 31), utcSeconds(2024, 3, 31, 1, 30) },
            // 02:30 happens twice on 27 October 2024 in Berlin: the first, still in summer time, counts.
            DayCase { "BerlinRepeatedHour", "Europe/Berlin", utcSeconds(2024, 1, 10, 1, 30), QDate(2024, 1, 10),
                utcSeconds(2024, 1, 9, 23), QDate(2024, 10, 27), utcSeconds(2024, 10, 27, 0, 30) },
            // Sao Paulo skipped midnight: the day begins at 01:00 local (-02:00).
            DayCase { "SaoPauloSkippedMidnight", "America/Sao_Paulo", utcSeconds(2018, 11, 4, 12), QDate(2018, 11, 4),
                utcSeconds(2018, 11, 4, 3), QDate(2018, 11, 5), utcSeconds(2018, 11, 5, 12) },
            // The date picker's range: the year 100 and the year 9999, before 1582 counted as Gregorian.
            DayCase { "PickersFirstDay", "UTC", utcSeconds(100, 1, 1, 6), QDate(100, 1, 1), utcSeconds(100, 1, 1),
                QDate(9999, 12, 31), utcSeconds(9999, 12, 31, 6) },
            DayCase { "BeforeTheGregorianReform", "UTC", utcSeconds(1500, 3, 1), QDate(1500, 3, 1),
                utcSeconds(1500, 3, 1), QDate(1500, 2, 28), utcSeconds(1500, 2, 28) },
            // Farther than 10,000 years from 1970 nothing is converted; neither is a day that is not one.
            DayCase { "FarFuture", "UTC", utcSeconds(12'000, 1, 1), QDate(), none, QDate(2024, 1, 1), none },
            DayCase { "FarPast", "UTC", utcSeconds(-9'000, 1, 1), QDate(), none, QDate(2024, 1, 1), none },
            DayCase { "NotANumber", "UTC", NAN, QDate(), none, QDate(2024, 1, 1), none },
            DayCase { "FarDay", "UTC", 0, QDate(1970, 1, 1), 0, QDate(20'000, 1, 1), none }));

    TEST(CalendarDays, AnInvalidDayHasNoStart) { EXPECT_EQ(startOfDay(QDate(), *zone("UTC")), none); }

} // namespace
} // namespace heliora
