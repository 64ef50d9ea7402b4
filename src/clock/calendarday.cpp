#include "clock/calendarday.h"

#include "clock/gregoriancalendar.h"
#include "clock/gregoriancycles.h"

#include <unicode/gregocal.h>

#include <cmath>

namespace heliora {

namespace {

    bool withinSpan(const QDate& day)
    {
        // A QDate's Julian day is exact; 10,000 years of days either side of 1970 is the span ICU is asked about.
        // An invalid date's Julian day is the lowest 64-bit integer: check validity before subtracting from it.
        if (!day.isValid())
            return false;
        constexpr qint64 spanDays = static_cast<qint64>(gregorian::directSpanSeconds / 86'400);
        const qint64 offset = day.toJulianDay() - QDate(1970, 1, 1).toJulianDay();
        return offset >= -spanDays && offset <= spanDays;
    }

    struct WallTime {
        int hour = 0, minute = 0, second = 0, millisecond = 0;
        double belowMillisecond = 0; ///< seconds
    };

    std::optional<double> instantAt(const QDate& day, const WallTime& time, const icu::TimeZone& zone)
    {
        if (!withinSpan(day))
            return std::nullopt;
        const std::unique_ptr<icu::GregorianCalendar> calendar = prolepticGregorianCalendar(zone);
        if (!calendar)
            return std::nullopt;
        // Lenient (ICU's default): a wall time in a daylight-saving gap moves forward by the gap. A repeated one
        // would take its second occurrence; the first is the one a day reaches first.
        calendar->setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
        calendar->clear();
        calendar->set(UCAL_EXTENDED_YEAR, day.year() > 0 ? day.year() : day.year() + 1); // QDate has no year 0
        calendar->set(UCAL_MONTH, day.month() - 1);
        calendar->set(UCAL_DATE, day.day());
        calendar->set(UCAL_HOUR_OF_DAY, time.hour);
        calendar->set(UCAL_MINUTE, time.minute);
        calendar->set(UCAL_SECOND, time.second);
        calendar->set(UCAL_MILLISECOND, time.millisecond);
        UErrorCode status = U_ZERO_ERROR;
        const UDate millis = calendar->getTime(status);
        if (U_FAILURE(status))
            return std::nullopt;
        return millis / 1000.0 + time.belowMillisecond;
    }

    /// The calendar set to `date` in the zone, or null when ICU is not to be asked about it.
    std::unique_ptr<icu::GregorianCalendar> calendarAt(double date, const icu::TimeZone& zone, double* millis)
    {
        if (!std::isfinite(date) || !gregorian::withinDirectSpan(date))
            return nullptr;
        std::unique_ptr<icu::GregorianCalendar> calendar = prolepticGregorianCalendar(zone);
        if (!calendar)
            return nullptr;
        *millis = std::floor(date * 1000.0);
        UErrorCode status = U_ZERO_ERROR;
        calendar->setTime(*millis, status);
        return U_SUCCESS(status) ? std::move(calendar) : nullptr;
    }

    int field(const icu::Calendar& calendar, UCalendarDateFields which)
    {
        UErrorCode status = U_ZERO_ERROR;
        const int value = calendar.get(which, status);
        return U_SUCCESS(status) ? value : 0;
    }

} // namespace

QDate localDay(double date, const icu::TimeZone& zone)
{
    double millis = 0;
    const std::unique_ptr<icu::GregorianCalendar> calendar = calendarAt(date, zone, &millis);
    if (!calendar)
        return {};
    const int extendedYear = field(*calendar, UCAL_EXTENDED_YEAR);
    return QDate(extendedYear > 0 ? extendedYear : extendedYear - 1, field(*calendar, UCAL_MONTH) + 1,
        field(*calendar, UCAL_DATE));
}

std::optional<double> startOfDay(const QDate& day, const icu::TimeZone& zone) { return instantAt(day, {}, zone); }

std::optional<double> onDayAtTimeOf(const QDate& day, double timeOf, const icu::TimeZone& zone)
{
    double millis = 0;
    const std::unique_ptr<icu::GregorianCalendar> calendar = calendarAt(timeOf, zone, &millis);
    if (!calendar)
        return std::nullopt;
    WallTime time;
    time.hour = field(*calendar, UCAL_HOUR_OF_DAY);
    time.minute = field(*calendar, UCAL_MINUTE);
    time.second = field(*calendar, UCAL_SECOND);
    time.millisecond = field(*calendar, UCAL_MILLISECOND);
    time.belowMillisecond = timeOf - millis / 1000.0;
    return instantAt(day, time, zone);
}

} // namespace heliora
