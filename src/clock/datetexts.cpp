#include "clock/datetexts.h"

#include "clock/gregoriancalendar.h"

#include "clock/currentdate.h"
#include "clock/gregoriancycles.h"
#include "model/environment.h"
#include "strings/stringtable.h"

#include <QStringList>

#include <algorithm>

#include <unicode/calendar.h>
#include <unicode/dtptngen.h>
#include <unicode/fieldpos.h>
#include <unicode/fpositer.h>
#include <unicode/gregocal.h>
#include <unicode/numfmt.h>
#include <unicode/parsepos.h>
#include <unicode/unistr.h>

namespace heliora {

namespace {

    icu::UnicodeString toIcu(const QString& text)
    {
        return icu::UnicodeString(reinterpret_cast<const UChar*>(text.utf16()), static_cast<int32_t>(text.size()));
    }

    QString toQt(const icu::UnicodeString& text)
    {
        return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
    }

    // Seconds to ICU's milliseconds. Callers pass dates within the direct span only (or stand-ins for far
    // ones), where ICU's calendars are exact.
    UDate toMillis(double date) { return date * 1000.0; }

    // The locale's calendar in the zone. Never the default zone: ICU caches it and would miss a changed TZ.
    std::unique_ptr<icu::Calendar> makeCalendar(const icu::Locale& locale, const icu::TimeZone& zone)
    {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(zone.clone(), locale, status));
        if (U_FAILURE(status) || !calendar)
            return nullptr;
        countProleptically(*calendar);
        return calendar;
    }

    icu::Locale withGregorianCalendar(const icu::Locale& locale)
    {
        icu::Locale gregorianLocale(locale);
        UErrorCode status = U_ZERO_ERROR;
        gregorianLocale.setKeywordValue("calendar", "gregorian", status);
        return gregorianLocale;
    }

    bool isGregorian(const icu::Calendar& calendar)
    {
        const std::string_view type = calendar.getType();
        return type == "gregorian" || type == "iso8601";
    }

    // -0399-01-01T00:00:00Z: the start of the 400 years (400 BC to 1 BC) into which far past dates are moved,
    // all before any zone's first transition, so they keep the zone's first offset as ICU gives it to them.
    constexpr double farPastBase = -74'758'377'600.0;

    // A date's proleptic Gregorian year in the zone (0 is 1 BC) and a stand-in: an instant with the same month,
    // day and time of day, in a year of the same era that ICU handles. Within the direct span the stand-in is
    // the date itself.
    struct GregorianPosition {
        std::int64_t year;
        double standIn;
        bool moved;
    };

    std::optional<GregorianPosition> gregorianPosition(double date, const icu::TimeZone& zone)
    {
        if (!gregorian::isCountable(date))
            return std::nullopt;
        auto calendar = makeCalendar(icu::Locale("en_US_POSIX@calendar=gregorian"), zone);
        if (!calendar)
            return std::nullopt;
        UErrorCode status = U_ZERO_ERROR;
        if (gregorian::withinDirectSpan(date)) {
            calendar->setTime(toMillis(date), status);
            const std::int32_t year = calendar->get(UCAL_EXTENDED_YEAR, status);
            if (U_FAILURE(status))
                return std::nullopt;
            return GregorianPosition { year, date, false };
        }
        // Far past and far future dates are moved into windows of their own era, computed with the offset
        // that ICU would give them, so the year and the day shown next to it come from one and the same instant.
        const bool past = date < 0;
        auto split = gregorian::splitCycles(date, past ? farPastBase : gregorian::farFutureBase);
        calendar->setTime(toMillis(split.remainder), status);
        std::int64_t standInYear = calendar->get(UCAL_EXTENDED_YEAR, status);
        if (U_FAILURE(status))
            return std::nullopt;
        // An offset east of UTC can carry the last instant of the past window into 1 AD; one cycle earlier
        // keeps the stand-in before year 1.
        if (past && standInYear > 0) {
            split = { split.cycles + 1, gregorian::shiftedByCycles(split.remainder, -1) };
            standInYear -= gregorian::cycleYears;
        }
        return GregorianPosition { standInYear + split.cycles * gregorian::cycleYears, split.remainder, true };
    }

    std::int64_t yearOfEra(std::int64_t year) { return year > 0 ? year : 1 - year; }

    // Formats the position's stand-in; when it was moved, writes the true year of the era in place of the
    // stand-in's, with the formatter's own digits. Empty when ICU fails or the pattern shows no year (a far
    // date without its year would be a wrong date).
    QString formatPosition(const icu::SimpleDateFormat& format, const GregorianPosition& position)
    {
        icu::UnicodeString text;
        icu::FieldPositionIterator fields;
        UErrorCode status = U_ZERO_ERROR;
        format.format(toMillis(position.standIn), text, &fields, status);
        if (U_FAILURE(status))
            return {};
        if (!position.moved)
            return toQt(text);
        icu::FieldPosition field;
        while (fields.next(field)) {
            if (field.getField() != UDAT_YEAR_FIELD)
                continue;
            std::unique_ptr<icu::NumberFormat> digits(format.getNumberFormat()->clone());
            digits->setGroupingUsed(false);
            digits->setMinimumIntegerDigits(1);
            icu::UnicodeString year;
            digits->format(static_cast<int64_t>(yearOfEra(position.year)), year);
            text.replace(field.getBeginIndex(), field.getEndIndex() - field.getBeginIndex(), year);
            return toQt(text);
        }
        return {};
    }

    // Whole `field` units (days or years) from `now` to `date`, as ICU's fieldDifference counts them in the
    // locale's calendar; positive when the date is later. Nothing when the calendar yields no count.
    std::optional<std::int64_t> wholeUnits(
        UCalendarDateFields field, double now, double date, const icu::Locale& locale, const icu::TimeZone& zone)
    {
        if (!gregorian::isCountable(now) || !gregorian::isCountable(date) || !gregorian::isCountable(date - now))
            return std::nullopt;
        UErrorCode status = U_ZERO_ERROR;
        if (gregorian::withinDirectSpan(now) && gregorian::withinDirectSpan(date)) {
            auto calendar = makeCalendar(locale, zone);
            if (!calendar)
                return std::nullopt;
            calendar->setTime(toMillis(now), status);
            const std::int32_t count = calendar->fieldDifference(toMillis(date), field, status);
            return U_SUCCESS(status) ? std::optional<std::int64_t>(count) : std::nullopt;
        }
        // Far away: counted in the Gregorian calendar. Moving both instants by the same whole cycles leaves the
        // count unchanged, so `now` goes into the direct span; the date then goes to within 400 to 800 years
        // of it, on its own side, and the cycles that it was moved by add their days or years back.
        auto calendar = makeCalendar(withGregorianCalendar(locale), zone);
        if (!calendar)
            return std::nullopt;
        double from = now;
        double to = date;
        if (!gregorian::withinDirectSpan(now)) {
            const auto split = gregorian::splitCycles(now, gregorian::farFutureBase);
            from = split.remainder;
            to = gregorian::shiftedByCycles(date, -split.cycles);
        }
        const double cycle = static_cast<double>(gregorian::cycleSeconds);
        const auto split = gregorian::splitCycles(to, to > from ? from + cycle : from - 2 * cycle);
        calendar->setTime(toMillis(from), status);
        const std::int32_t count = calendar->fieldDifference(toMillis(split.remainder), field, status);
        if (U_FAILURE(status))
            return std::nullopt;
        const std::int64_t perCycle = field == UCAL_DATE ? gregorian::cycleDays : gregorian::cycleYears;
        return count + split.cycles * perCycle;
    }

    QString caption(const Strings& strings, const char* key, std::int64_t count)
    {
        icu::UnicodeString text = toIcu(strings.text(TextKey { key, {}, count }));
        text.toUpper(icu::Locale(strings.language().toStdString().c_str()));
        return toQt(text);
    }

    std::unique_ptr<icu::SimpleDateFormat> posixFormatter(const icu::UnicodeString& pattern, const icu::TimeZone& zone)
    {
        const icu::Locale posix("en_US_POSIX");
        UErrorCode status = U_ZERO_ERROR;
        auto format = std::make_unique<icu::SimpleDateFormat>(pattern, posix, status);
        auto calendar = makeCalendar(posix, zone);
        if (U_FAILURE(status) || !calendar)
            return nullptr;
        format->adoptCalendar(calendar.release());
        format->setLenient(false);
        return format;
    }

    struct Day {
        std::int32_t year;
        std::int32_t month;
        std::int32_t day;
    };

    // The link's digits as a date, parsed strictly in UTC, where every day has a midnight: whether they name a
    // real day must not depend on the user's zone.
    std::optional<Day> parseDay(const QString& digits)
    {
        auto format = linkDateFormatter(*icu::TimeZone::getGMT());
        if (!format)
            return std::nullopt;
        const icu::UnicodeString text = toIcu(digits);
        icu::ParsePosition position(0);
        const UDate millis = format->parse(text, position);
        // ICU stops at the first character that it cannot use and still returns a date: only a parse that
        // used the whole text is one.
        if (position.getErrorIndex() >= 0 || position.getIndex() != text.length())
            return std::nullopt;
        const std::unique_ptr<icu::Calendar> calendar(format->getCalendar()->clone());
        UErrorCode status = U_ZERO_ERROR;
        calendar->setTime(millis, status);
        const Day day { calendar->get(UCAL_EXTENDED_YEAR, status), calendar->get(UCAL_MONTH, status) + 1,
            calendar->get(UCAL_DATE, status) };
        if (U_FAILURE(status) || day.year < 1)
            return std::nullopt;
        return day;
    }

    std::optional<double> firstInstantOf(const Day& day, const icu::TimeZone& zone)
    {
        auto calendar = makeCalendar(icu::Locale("en_US_POSIX"), zone);
        if (!calendar)
            return std::nullopt;
        // A midnight that a daylight-saving change skipped resolves to the first valid instant after it; a
        // midnight that a change repeated resolves to its first occurrence.
        calendar->setLenient(true);
        calendar->setSkippedWallTimeOption(UCAL_WALLTIME_NEXT_VALID);
        calendar->setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
        calendar->clear();
        calendar->set(day.year, day.month - 1, day.day, 0, 0, 0);
        UErrorCode status = U_ZERO_ERROR;
        const UDate millis = calendar->getTime(status);
        // A zone that skipped the whole day (Pacific/Apia on 2011-12-30) has no instant of it: ignore the link
        // rather than open the next day.
        calendar->setTime(millis, status);
        const bool sameDay = calendar->get(UCAL_EXTENDED_YEAR, status) == day.year
            && calendar->get(UCAL_MONTH, status) + 1 == day.month && calendar->get(UCAL_DATE, status) == day.day;
        if (U_FAILURE(status) || !sameDay)
            return std::nullopt;
        return millis / 1000.0;
    }

    QString prefixText()
    {
        return QString::fromLatin1(dateLinkPrefix.data(), static_cast<qsizetype>(dateLinkPrefix.size()));
    }

} // namespace

std::unique_ptr<icu::SimpleDateFormat> displayDateFormatter(
    const icu::Locale& locale, const icu::TimeZone& zone, bool withEra)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::DateTimePatternGenerator> generator(
        icu::DateTimePatternGenerator::createInstance(locale, status));
    icu::UnicodeString pattern;
    if (U_SUCCESS(status))
        pattern = generator->getBestPattern(icu::UnicodeString(withEra ? u"GyyyyMMdd" : u"yyyyMMdd"), status);
    if (U_FAILURE(status))
        pattern.remove();
    status = U_ZERO_ERROR;
    auto format = std::make_unique<icu::SimpleDateFormat>(pattern, locale, status);
    auto calendar = makeCalendar(locale, zone);
    if (U_FAILURE(status) || !calendar)
        return nullptr;
    format->adoptCalendar(calendar.release());
    return format;
}

QString displayDateText(double date) { return displayDateText(date, dateLocale(), *userTimeZone()); }

QString displayDateText(double date, const icu::Locale& locale, const icu::TimeZone& zone)
{
    if (!gregorian::isCountable(date))
        return {};
    auto calendar = makeCalendar(locale, zone);
    if (!calendar)
        return {};
    UErrorCode status = U_ZERO_ERROR;
    if (gregorian::withinDirectSpan(date)) {
        // A calendar with two eras (before and after its epoch, as BC and AD) shows the era for dates of the
        // earlier one, so that 500 BC does not read as 500 AD. Calendars with one era, or with many whose
        // patterns name them anyway (Japanese), are left as the locale writes them.
        calendar->setTime(toMillis(date), status);
        const bool earlierEra = calendar->getMaximum(UCAL_ERA) == 1 && calendar->get(UCAL_ERA, status) == 0;
        auto format = displayDateFormatter(locale, zone, earlierEra);
        if (!format || U_FAILURE(status))
            return {};
        return formatPosition(*format, GregorianPosition { 0, date, false });
    }
    // Far away: the Gregorian calendar, with the era always shown when the user's calendar is another one, so
    // that the text says which calendar it counts in.
    const bool gregorianUser = isGregorian(*calendar);
    const auto position = gregorianPosition(date, zone);
    if (!position)
        return {};
    auto format = displayDateFormatter(
        gregorianUser ? locale : withGregorianCalendar(locale), zone, position->year <= 0 || !gregorianUser);
    if (!format)
        return {};
    return formatPosition(*format, *position);
}

std::optional<QString> relativeDateText(double date) { return relativeDateText(date, currentDate()); }

std::optional<QString> relativeDateText(double date, double now)
{
    return relativeDateText(date, now, dateLocale(), *userTimeZone(), strings());
}

std::optional<QString> relativeDateText(
    double date, double now, const icu::Locale& calendarLocale, const icu::TimeZone& zone, const Strings& strings)
{
    const auto days = wholeUnits(UCAL_DATE, now, date, calendarLocale, zone);
    if (!days || *days == 0)
        return std::nullopt;
    if (*days >= -364 && *days <= 364)
        return caption(strings, "number_of_days", *days);
    const auto years = wholeUnits(UCAL_YEAR, now, date, calendarLocale, zone);
    return caption(strings, "number_of_years", years.value_or(0));
}

std::unique_ptr<icu::SimpleDateFormat> linkDateFormatter(const icu::TimeZone& zone)
{
    return posixFormatter(icu::UnicodeString(u"yyyyMMdd"), zone);
}

QString buildDateLink(double date) { return buildDateLink(date, *userTimeZone()); }

QString buildDateLink(double date, const icu::TimeZone& zone)
{
    const auto position = gregorianPosition(date, zone);
    if (!position)
        return prefixText();
    // "yyyy" writes the year of the era without a sign; before year 1 the era follows, so that such a link is
    // longer than eight characters and ignored, instead of opening the same-numbered year after Christ.
    const bool beforeYearOne = position->year <= 0;
    auto format = beforeYearOne ? posixFormatter(icu::UnicodeString(u"yyyyMMddG"), zone) : linkDateFormatter(zone);
    if (!format)
        return prefixText();
    return prefixText() + formatPosition(*format, *position);
}

std::optional<double> parseDateLink(const QString& link) { return parseDateLink(link, *userTimeZone()); }

std::optional<double> parseDateLink(const QString& link, const icu::TimeZone& zone)
{
    if (!link.startsWith(prefixText()))
        return std::nullopt;
    const QStringList pieces = link.split(QLatin1Char('='), Qt::SkipEmptyParts);
    if (pieces.isEmpty())
        return std::nullopt;
    // A built link's date is eight ASCII digits, which are eight user-perceived characters. Anything else (other
    // lengths, other digits that ICU would read as ASCII ones, signs, spaces, combining marks) names no link's date.
    const QString& digits = pieces.constLast();
    const bool eightDigits = digits.size() == 8 && std::all_of(digits.begin(), digits.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
    if (!eightDigits)
        return std::nullopt;
    const auto day = parseDay(digits);
    if (!day)
        return std::nullopt;
    return firstInstantOf(*day, zone);
}

} // namespace heliora
