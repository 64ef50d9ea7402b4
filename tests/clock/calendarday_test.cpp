#include "clock/calendarday.h"

#include "support/rows.h"
#include "support/utcseconds.h"
#include "support/zone.h"

#include <gtest/gtest.h>

#include <cmath>

namespace heliora {
namespace {

    using test::PrintTo;
    using test::utcSeconds;
    using test::zone;
    const std::nullopt_t none = std::nullopt;

    // An instant, its day in the zone, that day's first instant, and where the instant's time of day lands on
    // another day.
    struct DayCase {
        const char* name;
        const char* zone = "UTC";
        double instant;
        QDate day;
        std::optional<double> dayStart;
        QDate otherDay;
        std::optional<double> sameTimeOnOtherDay;
    };

    class CalendarDays : public ::testing::TestWithParam<DayCase> { };

    TEST_P(CalendarDays, ConvertBothWays)
    {
        const DayCase& c = GetParam();
        EXPECT_EQ(localDay(c.instant, *zone(c.zone)), c.day);
        EXPECT_EQ(startOfDay(c.day, *zone(c.zone)), c.dayStart);
        EXPECT_EQ(onDayAtTimeOf(c.otherDay, c.instant, *zone(c.zone)), c.sameTimeOnOtherDay);
    }

    // clang-format off
    const DayCase days[] = {
        { .name = "Utc", .instant = utcSeconds(2024, 1, 31, 10, 30) + 0.25, .day = QDate(2024, 1, 31),
            .dayStart = utcSeconds(2024, 1, 31),
            .otherDay = QDate(1991, 1, 9), .sameTimeOnOtherDay = utcSeconds(1991, 1, 9, 10, 30) + 0.25 },
        // Tokyo is a day ahead of UTC in the evening; its midnight is 15:00 UTC the day before.
        { .name = "TokyoAhead", .zone = "Asia/Tokyo", .instant = utcSeconds(2024, 1, 31, 20), .day = QDate(2024, 2, 1),
            .dayStart = utcSeconds(2024, 1, 31, 15),
            .otherDay = QDate(1991, 1, 9), .sameTimeOnOtherDay = utcSeconds(1991, 1, 8, 20) },
        // 10:00 in Berlin's winter is 10:00 in its summer: wall-clock time, not a count of seconds.
        { .name = "BerlinAcrossSummerTime", .zone = "Europe/Berlin", .instant = utcSeconds(2024, 1, 31, 9),
            .day = QDate(2024, 1, 31), .dayStart = utcSeconds(2024, 1, 30, 23),
            .otherDay = QDate(2024, 7, 1), .sameTimeOnOtherDay = utcSeconds(2024, 7, 1, 8) },
        // 02:30 does not exist on 31 March 2024 in Berlin: it moves forward by the hour skipped.
        { .name = "BerlinSkippedHour", .zone = "Europe/Berlin", .instant = utcSeconds(2024, 1, 10, 1, 30),
            .day = QDate(2024, 1, 10), .dayStart = utcSeconds(2024, 1, 9, 23),
            .otherDay = QDate(2024, 3, 31), .sameTimeOnOtherDay = utcSeconds(2024, 3, 31, 1, 30) },
        // 02:30 happens twice on 27 October 2024 in Berlin: the first, still in summer time, counts.
        { .name = "BerlinRepeatedHour", .zone = "Europe/Berlin", .instant = utcSeconds(2024, 1, 10, 1, 30),
            .day = QDate(2024, 1, 10), .dayStart = utcSeconds(2024, 1, 9, 23),
            .otherDay = QDate(2024, 10, 27), .sameTimeOnOtherDay = utcSeconds(2024, 10, 27, 0, 30) },
        // Sao Paulo skipped midnight: the day begins at 01:00 local (-02:00).
        { .name = "SaoPauloSkippedMidnight", .zone = "America/Sao_Paulo", .instant = utcSeconds(2018, 11, 4, 12),
            .day = QDate(2018, 11, 4), .dayStart = utcSeconds(2018, 11, 4, 3),
            .otherDay = QDate(2018, 11, 5), .sameTimeOnOtherDay = utcSeconds(2018, 11, 5, 12) },
        // The date picker's range, the years 100 to 9999, counted as Gregorian before 1582 too.
        { .name = "PickersRange", .instant = utcSeconds(100, 1, 1, 6), .day = QDate(100, 1, 1),
            .dayStart = utcSeconds(100, 1, 1),
            .otherDay = QDate(9999, 12, 31), .sameTimeOnOtherDay = utcSeconds(9999, 12, 31, 6) },
        { .name = "BeforeTheGregorianReform", .instant = utcSeconds(1500, 3, 1), .day = QDate(1500, 3, 1),
            .dayStart = utcSeconds(1500, 3, 1),
            .otherDay = QDate(1500, 2, 28), .sameTimeOnOtherDay = utcSeconds(1500, 2, 28) },
        // Farther than 10,000 years from 1970 nothing is converted; neither is a day that is not one.
        { .name = "FarFuture", .instant = utcSeconds(12'000, 1, 1), .day = QDate(), .dayStart = none,
            .otherDay = QDate(2024, 1, 1), .sameTimeOnOtherDay = none },
        { .name = "FarPast", .instant = utcSeconds(-9'000, 1, 1), .day = QDate(), .dayStart = none,
            .otherDay = QDate(2024, 1, 1), .sameTimeOnOtherDay = none },
        { .name = "NotANumber", .instant = NAN, .day = QDate(), .dayStart = none,
            .otherDay = QDate(2024, 1, 1), .sameTimeOnOtherDay = none },
        { .name = "FarDay", .instant = 0, .day = QDate(1970, 1, 1), .dayStart = 0,
            .otherDay = QDate(20'000, 1, 1), .sameTimeOnOtherDay = none },
    };
    // clang-format on

    INSTANTIATE_TEST_SUITE_P(Table, CalendarDays, ::testing::ValuesIn(days), test::rowName);

} // namespace
} // namespace heliora
