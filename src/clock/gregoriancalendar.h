#pragma once

#include <memory>

#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/timezone.h>

namespace heliora {

/// Heliora counts Gregorian dates proleptically: before 15 October 1582 too, as ISO 8601, Qt's QDate and the
/// 400-year cycle arithmetic do, where ICU's Gregorian calendar (and the Buddhist, Japanese and ROC calendars
/// built on it) turns Julian. These are the one way the date texts, the date link and the command-line dates set
/// that up, so that all of them name the same day for the same instant.

/// The change-over that makes an ICU Gregorian calendar Gregorian throughout: the earliest date ICU has.
inline constexpr UDate prolepticGregorianChange = U_DATE_MIN;

/// Makes a calendar built on ICU's Gregorian calendar count proleptically; any other calendar is left alone.
void countProleptically(icu::Calendar& calendar);

/// A proleptic Gregorian calendar in the zone; null when ICU cannot make one.
std::unique_ptr<icu::GregorianCalendar> prolepticGregorianCalendar(const icu::TimeZone& zone);

} // namespace heliora
