#pragma once

#include <QString>

#include <memory>
#include <optional>
#include <string_view>

#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

namespace heliora {

class Strings;

/// The date texts of the main window and the date link.
///
/// Every function works in the user's date locale (LC_ALL, LC_TIME, LANG) and time zone (TZ, else the system's),
/// read from the environment on every call, or in the ones passed. Dates are seconds since 1970. ICU's calendars,
/// patterns and formatters are built once per locale and zone and kept (per thread, a few of each), and the texts
/// of the last few local days are kept too: the main window asks for the same day's texts twice a second. What is
/// kept is keyed on everything that it is made of, so a changed locale, zone or day is never answered from it.
/// Gregorian calendars count proleptically: before 1582 too, as ISO 8601 and Qt's QDate do, so the texts agree with the
/// date picker and with heliora-cli's ISO dates.
///
/// Far dates: every date less than 2^62 seconds (about 146 billion years) from 1970 gets its true day, month
/// and year, also beyond the few million years that ICU's calendars reach (see gregoriancycles.h). The year
/// carries the era where it is not the present one ("01/01/0500 BC"). Beyond 10,000 years a calendar other
/// than the Gregorian one gives way to the Gregorian calendar, with the era always shown. Farther than 2^62
/// seconds, or for a NaN or an infinity, the display text is empty, there is no caption and the link holds no
/// date.

/// The formatter of the big date: the locale's best pattern for "yyyy/MM/dd" (with the era when `withEra`),
/// in the locale's calendar and the zone. When ICU has no pattern the format is empty. Null if ICU fails.
/// A new object on every call, owned by the caller.
std::unique_ptr<icu::SimpleDateFormat> displayDateFormatter(
    const icu::Locale& locale, const icu::TimeZone& zone, bool withEra = false);

/// The big date on the main window, e.g. "01/31/2024" in en_US, "31.01.2024" in de_DE, "2024/01/31" in ja_JP.
QString displayDateText(double date);
QString displayDateText(double date, const icu::Locale& locale, const icu::TimeZone& zone);

/// The caption under the big date: the whole days from `now` to `date` ("12 DAYS", "-1 DAY") while they are
/// fewer than 365, else the whole years ("3 YEARS", "0 YEARS"), upper-cased; nothing when the date is less than
/// one whole day away. Counted in the locale's calendar and the zone; the texts come from the string table
/// (keys "number_of_days" and "number_of_years") and are upper-cased in the table's language.
/// The overload without `now` counts from currentDate().
std::optional<QString> relativeDateText(double date);
std::optional<QString> relativeDateText(double date, double now);
std::optional<QString> relativeDateText(
    double date, double now, const icu::Locale& calendarLocale, const icu::TimeZone& zone, const Strings& strings);

/// The date link: the prefix followed by the date as "yyyyMMdd" in the zone.
inline constexpr std::string_view dateLinkPrefix = "heliora://?date=";

/// The formatter of the link's date: "yyyyMMdd", en_US_POSIX, proleptic Gregorian, strict, in the zone.
std::unique_ptr<icu::SimpleDateFormat> linkDateFormatter(const icu::TimeZone& zone);

/// The link that opens the application at the local day of `date`. Years 1 to 9999 give exactly eight digits.
/// Any other date gives a text that parseDateLink ignores, so a link never opens another day than its own:
/// years beyond 9999 have more digits ("100000101"), years before 1 end in the era ("05000101BC" for 500 BC),
/// and a date too far to count (or not a number) gives the bare prefix.
QString buildDateLink(double date);
QString buildDateLink(double date, const icu::TimeZone& zone);

/// The date that a received link names: the first instant of that day in the zone. Nothing when the link does
/// not start with the prefix (case-sensitive), or its last "="-separated piece is not eight ASCII digits naming
/// a real date of the years 1 to 9999 (strictly: no month 13, no 30 February, no text before or after), or
/// that day does not exist in the zone (Pacific/Apia skipped 2011-12-30). A day whose midnight a daylight-saving
/// change skipped begins at its first valid instant (America/Sao_Paulo 2018-11-04 begins at 01:00).
std::optional<double> parseDateLink(const QString& link);
std::optional<double> parseDateLink(const QString& link, const icu::TimeZone& zone);

} // namespace heliora
