#pragma once

#include <cstdint>

namespace heliora::test {

/// Days from 1970-01-01 to a proleptic Gregorian date (year 0 is 1 BC), by Howard Hinnant's civil calendar
/// algorithm: an arithmetic reference, independent of ICU, for any year that fits.
constexpr std::int64_t daysFromCivil(std::int64_t year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146'097 + dayOfEra - 719'468;
}

/// Seconds since 1970 of a UTC date and time.
constexpr double utcSeconds(std::int64_t year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return static_cast<double>(daysFromCivil(year, month, day) * 86'400 + hour * 3'600 + minute * 60 + second);
}

static_assert(daysFromCivil(1970, 1, 1) == 0);
static_assert(daysFromCivil(2000, 3, 1) == 11'017);
static_assert(daysFromCivil(0, 1, 1) == -719'528);

} // namespace heliora::test
