#pragma once

#include <memory>
#include <string>
#include <string_view>

#include <unicode/locid.h>
#include <unicode/timezone.h>

namespace heliora {

/// The user's locales and time zone, read from the environment the way a Linux desktop sets them, so that
/// ICU and Qt format with the same locale. Every function reads the environment afresh on each call.
///
/// Numbers follow LC_ALL, LC_NUMERIC, LANG; dates follow LC_ALL, LC_TIME, LANG; texts follow LANGUAGE
/// (its first entry), LC_ALL, LC_MESSAGES, LANG. The first variable that is set and not empty wins.
/// "C", "POSIX" or nothing at all gives en_US_POSIX for numbers and dates and "en" for texts.
/// A locale whose language ICU does not know formats as en_US.
icu::Locale numberLocale();
icu::Locale dateLocale();
icu::Locale messagesLocale();

/// Turns a POSIX locale name ("de_DE.UTF-8@euro", "en_GB", "C") into an ICU locale, with the fallbacks above.
icu::Locale localeFromPosixName(std::string_view name);

/// True when ICU lists the locale (e.g. "de_DE", "ja_JP", "en_US_POSIX") among its available locales.
bool isAvailableLocale(std::string_view name);

/// The user's time zone (TZ, else the system's). An unknown zone is UTC.
std::unique_ptr<icu::TimeZone> userTimeZone();

/// The zone with this IANA id, or null when ICU does not know it.
std::unique_ptr<icu::TimeZone> timeZoneFromId(std::string_view id);

/// The zone's id as UTF-8 ("Europe/Berlin").
std::string timeZoneId(const icu::TimeZone& zone);

} // namespace heliora
