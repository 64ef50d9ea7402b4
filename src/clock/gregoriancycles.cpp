#include "clock/gregoriancycles.h"

#include <cmath>

namespace heliora::gregorian {

namespace {

    constexpr double countableLimit = 0x1p62;

    std::int64_t floorDivide(std::int64_t numerator, std::int64_t denominator)
    {
        const std::int64_t quotient = numerator / denominator;
        return (numerator % denominator != 0 && (numerator < 0) != (denominator < 0)) ? quotient - 1 : quotient;
    }

    // Whole seconds and the fraction of a second. Both are exact: below 2^53 the fraction keeps every bit of
    // the date, above it the date is a whole number.
    struct Seconds {
        std::int64_t whole;
        double fraction;
    };

    Seconds split(double date)
    {
        const double whole = std::floor(date);
        return { static_cast<std::int64_t>(whole), date - whole };
    }

} // namespace

bool withinDirectSpan(double date) { return std::abs(date) <= directSpanSeconds; }

bool isCountable(double date) { return std::isfinite(date) && std::abs(date) < countableLimit; }

CycleSplit splitCycles(double date, double base)
{
    const Seconds seconds = split(date);
    const Seconds start = split(base);
    // Both magnitudes are below 2^62, so neither the difference nor the products leave the 64-bit range.
    const std::int64_t cycles = floorDivide(seconds.whole - start.whole, cycleSeconds);
    const std::int64_t remainder = seconds.whole - cycles * cycleSeconds;
    return { cycles, static_cast<double>(remainder) + seconds.fraction };
}

double shiftedByCycles(double date, std::int64_t cycles)
{
    const Seconds seconds = split(date);
    return static_cast<double>(seconds.whole + cycles * cycleSeconds) + seconds.fraction;
}

} // namespace heliora::gregorian
