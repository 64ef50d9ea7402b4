#pragma once

#include <QDate>

#include <optional>

#include <unicode/timezone.h>

namespace heliora {

/// Between instants (seconds since 1970) and the days of the user's calendar, as the settings window's date
/// picker needs them. Days are QDates: proleptic Gregorian, as the date picker, the date texts and the date link
/// count them. Only dates within 10,000 years of 1970 are converted (see gregoriancycles.h); the picker's own
/// range, the years 100 to 9999, lies well inside.

/// The day on which `date` falls in the zone; an invalid QDate for a date farther than 10,000 years from 1970,
/// a NaN or an infinity.
QDate localDay(double date, const icu::TimeZone& zone);

/// The first instant of `day` in the zone: its midnight, or, where a daylight-saving change skipped midnight,
/// the first instant that exists (America/Sao_Paulo 2018-11-04 begins at 01:00). Nothing for an invalid day or
/// one farther than 10,000 years from 1970.
std::optional<double> startOfDay(const QDate& day, const icu::TimeZone& zone);

/// The instant on `day` whose wall-clock time in the zone is the time of day that `timeOf` shows there, to the
/// fraction of a second. A time that the day skips (a daylight-saving gap) moves forward by the gap; a time the
/// day has twice takes the first. Nothing when `day` is invalid or `timeOf` or `day` cannot be converted.
std::optional<double> onDayAtTimeOf(const QDate& day, double timeOf, const icu::TimeZone& zone);

} // namespace heliora
