#pragma once

#include <cstdint>

namespace heliora::test {

/// Seconds since 1970 of a proleptic Gregorian UTC date and time (year 0 is 1 BC), by Howard Hinnant's civil
/// calendar algorithm: an arithmetic reference, independent of ICU, for any year that fits.
constexpr double utcSeconds(std::int64_t year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400, yoe = year - era * 400; // year of era
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t days = era * 146'097 + yoe * 365 + yoe / 4 - yoe / 100 + dayOfYear - 719'468;
    return static_cast<double>(days * 86'400 + hour * 3'600 + minute * 60 + second);
}
static_assert(utcSeconds(1970, 1, 1) == 0 && utcSeconds(0, 1, 1) == -719'528 * 86'400.0);

} // namespace heliora::test
