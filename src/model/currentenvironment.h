#pragma once

#include <unicode/locid.h>
#include <unicode/timezone.h>

namespace heliora {

/// The user's date locale and time zone as environment.h reads them, kept between calls while the environment that
/// names them stays the same. Building an ICU zone costs a look into the system's zone files and a resource
/// search, which the main window would otherwise pay on every half-second tick.
///
/// Every call compares what the answer depends on: LC_ALL, LC_TIME and LANG for the locale, TZ for the zone, so a
/// changed variable is seen by the very next call; and, at most once a second, the file status of /etc/localtime
/// (the system's zone when TZ names none), so a zone changed by the administrator is seen within a second. When
/// anything differs from what the kept answer was read with, the answer is read afresh.
/// Each thread has its own copy. A returned reference is valid until the next call of the same function on the
/// same thread.

/// dateLocale(), kept.
const icu::Locale& currentDateLocale();

/// userTimeZone(), kept.
const icu::TimeZone& currentTimeZone();

} // namespace heliora
