#pragma once

#include <QString>

#include <optional>

#include <unicode/timezone.h>

namespace heliora {

/// Reads a date given on a command line, in seconds since 1970: "@seconds" (any finite number), an ISO-8601
/// date and time with an offset ("2024-01-31T10:00:00Z", "2024-01-31T10:00:00+09:00"), or a wall-clock date and
/// time without one ("2024-01-31", "2024-01-31T10:00"), read in `zone` in the proleptic Gregorian calendar.
/// Nothing for any other text.
std::optional<double> parseIsoDate(const QString& text, const icu::TimeZone& zone);

} // namespace heliora
