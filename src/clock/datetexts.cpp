#include "clock/datetexts.h"

#include "clock/gregoriancalendar.h"

#include "clock/currentdate.h"
#include "clock/gregoriancycles.h"
#include "model/currentenvironment.h"
#include "strings/stringtable.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <vector>

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

    // ICU's calendars and formatters cost tens to hundreds of microseconds to build (a pattern generator about
    // 0.2 ms), and the main window asks for its date texts twice a second. They are kept, per thread, under
    // everything that they are built from: the locale's full name, the zone (compared by its rules, so a zone
    // read again from a changed TZ is another key) and a variant saying which pattern or settings. A kept object
    // is therefore the same as a new one; what the texts read from the environment is looked up afresh on each
    // call (currentenvironment.h), never kept here.
    template <typename Variant, typename Value> class Kept {
    public:
        Value* find(const icu::Locale& locale, const icu::TimeZone& zone, const Variant& variant)
        {
            for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
                if (it->variant == variant && it->locale == locale && *it->zone == zone) {
                    std::rotate(m_entries.begin(), it, it + 1);
                    return &m_entries.front().value;
                }
            }
            return nullptr;
        }

        // Keeps the value, dropping the least recently used one beyond the capacity. Pointers from find stay
        // valid until the next insert.
        Value* insert(const icu::Locale& locale, const icu::TimeZone& zone, Variant variant, Value value)
        {
            std::unique_ptr<icu::TimeZone> zoneCopy(zone.clone());
            if (!zoneCopy)
                return nullptr;
            if (m_entries.size() == capacity)
                m_entries.pop_back();
            m_entries.insert(
                m_entries.begin(), Entry { locale, std::move(zoneCopy), std::move(variant), std::move(value) });
            return &m_entries.front().value;
        }

    private:
        static constexpr std::size_t capacity = 8;
        struct Entry {
            icu::Locale locale;
            std::unique_ptr<icu::TimeZone> zone;
            Variant variant;
            Value value;
        };
        std::vector<Entry> m_entries;
    };

    // A kept ICU object, made by `make` on first use; null when ICU fails (nothing is kept then).
    template <typename T, typename Variant, typename Make>
    T* keptObject(Kept<Variant, std::unique_ptr<T>>& kept, const icu::Locale& locale, const icu::TimeZone& zone,
        const Variant& variant, Make make)
    {
        if (auto* found = kept.find(locale, zone, variant))
            return found->get();
        std::unique_ptr<T> made = make();
        if (!made)
            return nullptr;
        auto* inserted = kept.insert(locale, zone, variant, std::move(made));
        return inserted ? inserted->get() : nullptr;
    }

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

    // What a kept calendar is for. Each use sets the time it needs first; the link's calendar also its
    // leniency and wall-time options, so no use sees another's settings.
    enum class CalendarUse { fields, firstInstant };

    // The kept calendar of the locale in the zone. Valid until the next call (a later call may drop it).
    icu::Calendar* keptCalendar(
        const icu::Locale& locale, const icu::TimeZone& zone, CalendarUse use = CalendarUse::fields)
    {
        thread_local Kept<CalendarUse, std::unique_ptr<icu::Calendar>> kept;
        return keptObject(kept, locale, zone, use, [&] { return makeCalendar(locale, zone); });
    }

    // The local day of an instant as ICU's calendars count it: local milliseconds (the zone's raw and daylight
    // offsets added, in that order of operations) floor-divided by a day. Every field of a date text (era, year,
    // month, day) follows from it, so two instants of one local day have the same texts. Nothing on failure.
    std::optional<double> localDay(double date, const icu::TimeZone& zone)
    {
        UErrorCode status = U_ZERO_ERROR;
        int32_t raw = 0;
        int32_t daylight = 0;
        double localMillis = toMillis(date);
        zone.getOffset(localMillis, false, raw, daylight, status);
        if (U_FAILURE(status))
            return std::nullopt;
        localMillis += (raw + daylight);
        return std::floor(localMillis / 86'400'000.0);
    }

    const icu::Locale& posixLocale()
    {
        static const icu::Locale locale("en_US_POSIX");
        return locale;
    }

    const icu::Locale& gregorianPosixLocale()
    {
        static const icu::Locale locale("en_US_POSIX@calendar=gregorian");
        return locale;
    }

    // Whether ICU's fieldDifference counts 0 whole days from `now` to `date`, told without a calendar: fewer than
    // 86,400,000 ms apart, and the zone's offset the same a day after (or before) `now` as at `now`. ICU adds a
    // day as 86,400,000 ms and corrects only when the wall time moved, which it cannot with equal offsets; so
    // the day added lies beyond the date, and the count is 0. False when unsure: the calendar then counts.
    bool lessThanADayApart(double now, double date, const icu::TimeZone& zone)
    {
        const UDate from = toMillis(now);
        const UDate to = toMillis(date);
        if (from == to)
            return true;
        const UDate dayAway = from + (to > from ? 86'400'000.0 : -86'400'000.0);
        if (to > from ? !(to < dayAway) : !(to > dayAway))
            return false;
        UErrorCode status = U_ZERO_ERROR;
        int32_t rawFrom = 0;
        int32_t daylightFrom = 0;
        int32_t rawAway = 0;
        int32_t daylightAway = 0;
        zone.getOffset(from, false, rawFrom, daylightFrom, status);
        zone.getOffset(dayAway, false, rawAway, daylightAway, status);
        return U_SUCCESS(status) && rawFrom + daylightFrom == rawAway + daylightAway;
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
        icu::Calendar* calendar = keptCalendar(gregorianPosixLocale(), zone);
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
            if (field == UCAL_DATE && lessThanADayApart(now, date, zone))
                return 0;
            icu::Calendar* calendar = keptCalendar(locale, zone);
            if (!calendar)
                return std::nullopt;
            calendar->setTime(toMillis(now), status);
            const std::int32_t count = calendar->fieldDifference(toMillis(date), field, status);
            return U_SUCCESS(status) ? std::optional<std::int64_t>(count) : std::nullopt;
        }
        // Far away: counted in the Gregorian calendar. Moving both instants by the same whole cycles leaves the
        // count unchanged, so `now` goes into the direct span; the date then goes to within 400 to 800 years
        // of it, on its own side, and the cycles that it was moved by add their days or years back.
        icu::Calendar* calendar = keptCalendar(withGregorianCalendar(locale), zone);
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

    // A caption is the same for the same table language, key and count; while the clock runs at normal speed it
    // is asked for the same one twice a second.
    QString caption(const Strings& strings, const char* key, std::int64_t count)
    {
        struct Last {
            QString language;
            std::string_view key;
            std::int64_t count = 0;
            QString text;
        };
        thread_local std::optional<Last> last;
        const QString language = strings.language();
        if (last && last->count == count && last->key == key && last->language == language)
            return last->text;
        icu::UnicodeString text = toIcu(strings.text(TextKey { key, {}, count }));
        text.toUpper(icu::Locale(language.toStdString().c_str()));
        last = Last { language, key, count, toQt(text) };
        return last->text;
    }

    std::unique_ptr<icu::SimpleDateFormat> makePosixFormatter(
        const icu::UnicodeString& pattern, const icu::TimeZone& zone)
    {
        UErrorCode status = U_ZERO_ERROR;
        auto format = std::make_unique<icu::SimpleDateFormat>(pattern, posixLocale(), status);
        auto calendar = makeCalendar(posixLocale(), zone);
        if (U_FAILURE(status) || !calendar)
            return nullptr;
        format->adoptCalendar(calendar.release());
        format->setLenient(false);
        return format;
    }

    // The link's two patterns: the date alone, and the date followed by the era (years before 1).
    enum class LinkPattern { date, dateAndEra };

    // The kept link formatter of the zone. Valid until the next call.
    const icu::SimpleDateFormat* keptLinkFormatter(const icu::TimeZone& zone, LinkPattern pattern)
    {
        thread_local Kept<LinkPattern, std::unique_ptr<icu::SimpleDateFormat>> kept;
        return keptObject(kept, posixLocale(), zone, pattern, [&] {
            return makePosixFormatter(
                icu::UnicodeString(pattern == LinkPattern::date ? u"yyyyMMdd" : u"yyyyMMddG"), zone);
        });
    }

    // The locale's best pattern for year, month and day (and era), as ICU's pattern generator gives it; empty
    // when ICU has none. Kept per locale: building a generator is the dearest step of a date text.
    icu::UnicodeString displayPattern(const icu::Locale& locale, bool withEra)
    {
        thread_local Kept<bool, icu::UnicodeString> kept;
        const icu::TimeZone& anyZone = *icu::TimeZone::getGMT();
        if (const icu::UnicodeString* found = kept.find(locale, anyZone, withEra))
            return *found;
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::DateTimePatternGenerator> generator(
            icu::DateTimePatternGenerator::createInstance(locale, status));
        icu::UnicodeString pattern;
        if (U_SUCCESS(status))
            pattern = generator->getBestPattern(icu::UnicodeString(withEra ? u"GyyyyMMdd" : u"yyyyMMdd"), status);
        if (U_FAILURE(status))
            pattern.remove();
        kept.insert(locale, anyZone, withEra, pattern);
        return pattern;
    }

    std::unique_ptr<icu::SimpleDateFormat> makeDisplayFormatter(
        const icu::Locale& locale, const icu::TimeZone& zone, bool withEra)
    {
        UErrorCode status = U_ZERO_ERROR;
        auto format = std::make_unique<icu::SimpleDateFormat>(displayPattern(locale, withEra), locale, status);
        auto calendar = makeCalendar(locale, zone);
        if (U_FAILURE(status) || !calendar)
            return nullptr;
        format->adoptCalendar(calendar.release());
        return format;
    }

    // The kept display formatter of the locale in the zone. Valid until the next call.
    const icu::SimpleDateFormat* keptDisplayFormatter(
        const icu::Locale& locale, const icu::TimeZone& zone, bool withEra)
    {
        thread_local Kept<bool, std::unique_ptr<icu::SimpleDateFormat>> kept;
        return keptObject(kept, locale, zone, withEra, [&] { return makeDisplayFormatter(locale, zone, withEra); });
    }

    QString displayText(double date, const icu::Locale& locale, const icu::TimeZone& zone)
    {
        icu::Calendar* calendar = keptCalendar(locale, zone);
        if (!calendar)
            return {};
        UErrorCode status = U_ZERO_ERROR;
        if (gregorian::withinDirectSpan(date)) {
            // A calendar with two eras (before and after its epoch, as BC and AD) shows the era for dates of the
            // earlier one, so that 500 BC does not read as 500 AD. Calendars with one era, or with many whose
            // patterns name them anyway (Japanese), are left as the locale writes them.
            calendar->setTime(toMillis(date), status);
            const bool earlierEra = calendar->getMaximum(UCAL_ERA) == 1 && calendar->get(UCAL_ERA, status) == 0;
            const icu::SimpleDateFormat* format = keptDisplayFormatter(locale, zone, earlierEra);
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
        const icu::SimpleDateFormat* format = keptDisplayFormatter(
            gregorianUser ? locale : withGregorianCalendar(locale), zone, position->year <= 0 || !gregorianUser);
        if (!format)
            return {};
        return formatPosition(*format, *position);
    }

    QString prefixText()
    {
        return QString::fromLatin1(dateLinkPrefix.data(), static_cast<qsizetype>(dateLinkPrefix.size()));
    }

    QString linkText(double date, const icu::TimeZone& zone)
    {
        const auto position = gregorianPosition(date, zone);
        if (!position)
            return prefixText();
        // "yyyy" writes the year of the era without a sign; before year 1 the era follows, so that such a link is
        // longer than eight characters and ignored, instead of opening the same-numbered year after Christ.
        const bool beforeYearOne = position->year <= 0;
        const icu::SimpleDateFormat* format
            = keptLinkFormatter(zone, beforeYearOne ? LinkPattern::dateAndEra : LinkPattern::date);
        if (!format)
            return prefixText();
        return prefixText() + formatPosition(*format, *position);
    }

    // A text of one local day, kept under its locale, zone and day: the main window asks for the same day's
    // texts twice a second. Only dates that ICU is asked about directly are kept, where the local day is exact
    // and decides the text alone; others are computed on every call.
    template <typename Compute>
    QString perDay(
        Kept<double, QString>& kept, double date, const icu::Locale& locale, const icu::TimeZone& zone, Compute compute)
    {
        const std::optional<double> day
            = gregorian::withinDirectSpan(date) ? localDay(date, zone) : std::optional<double>();
        if (day) {
            if (const QString* found = kept.find(locale, zone, *day))
                return *found;
        }
        QString text = compute();
        if (day)
            kept.insert(locale, zone, *day, text);
        return text;
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
        const icu::SimpleDateFormat* format = keptLinkFormatter(*icu::TimeZone::getGMT(), LinkPattern::date);
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
        icu::Calendar* calendar = keptCalendar(posixLocale(), zone, CalendarUse::firstInstant);
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

} // namespace

std::unique_ptr<icu::SimpleDateFormat> displayDateFormatter(
    const icu::Locale& locale, const icu::TimeZone& zone, bool withEra)
{
    return makeDisplayFormatter(locale, zone, withEra);
}

QString displayDateText(double date) { return displayDateText(date, currentDateLocale(), currentTimeZone()); }

QString displayDateText(double date, const icu::Locale& locale, const icu::TimeZone& zone)
{
    if (!gregorian::isCountable(date))
        return {};
    thread_local Kept<double, QString> kept;
    return perDay(kept, date, locale, zone, [&] { return displayText(date, locale, zone); });
}

std::optional<QString> relativeDateText(double date) { return relativeDateText(date, currentDate()); }

std::optional<QString> relativeDateText(double date, double now)
{
    return relativeDateText(date, now, currentDateLocale(), currentTimeZone(), strings());
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
    return makePosixFormatter(icu::UnicodeString(u"yyyyMMdd"), zone);
}

QString buildDateLink(double date) { return buildDateLink(date, currentTimeZone()); }

QString buildDateLink(double date, const icu::TimeZone& zone)
{
    thread_local Kept<double, QString> kept;
    return perDay(kept, date, posixLocale(), zone, [&] { return linkText(date, zone); });
}

std::optional<double> parseDateLink(const QString& link) { return parseDateLink(link, currentTimeZone()); }

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
