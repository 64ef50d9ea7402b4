#pragma once

#include <cstdint>

namespace heliora {

/// Exact calendar arithmetic for dates that ICU's calendars cannot take directly.
///
/// ICU is asked about dates within `directSpanSeconds` of 1970 only. Farther out every calendar fails somewhere:
/// formatting is pinned silently to the end of ICU's range (about ±5.8 million years), fieldDifference counts
/// years wrongly beyond about 4.1 million years, and the Umm al-Qura calendar takes 0.2 s a call at a million
/// years. Beyond the span, Heliora counts in the proleptic Gregorian calendar, which repeats exactly every 400
/// years: 146,097 days, a whole number of weeks. A date moved by whole cycles keeps its month, day, time of day
/// and weekday, so ICU computes those for a nearby date and the cycles are added back to the year arithmetically.
namespace gregorian {

    inline constexpr std::int64_t cycleYears = 400;
    inline constexpr std::int64_t cycleDays = 146'097;
    inline constexpr std::int64_t cycleSeconds = cycleDays * 86'400;

    /// 10,000 mean Gregorian years.
    inline constexpr double directSpanSeconds = 10'000 * 31'556'952.0;

    /// 2401-01-01T00:00:00Z: the start of the 400 years into which far future dates are moved. Every zone is on
    /// its final rule by then, which is also the rule ICU applies to all later years.
    inline constexpr double farFutureBase = 13'601'088'000.0;

    /// True when ICU's calendars may be asked about the date directly.
    bool withinDirectSpan(double date);

    /// Finite and less than 2^62 seconds (about 146 billion years) from 1970: the dates whose calendar fields
    /// Heliora computes exactly. Beyond, the year would need more digits than the arithmetic keeps.
    bool isCountable(double date);

    /// A countable date written as `remainder` + `cycles` × 400 years, with `remainder` in [base, base + cycle).
    struct CycleSplit {
        std::int64_t cycles;
        double remainder;
    };
    /// Both `date` and `base` must be countable.
    CycleSplit splitCycles(double date, double base);

    /// The date moved by `cycles` × 400 years, exactly (no rounding of the seconds' integer part).
    /// The result must be countable.
    double shiftedByCycles(double date, std::int64_t cycles);

} // namespace gregorian
} // namespace heliora
