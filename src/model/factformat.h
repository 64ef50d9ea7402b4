#pragma once

#include "model/facts.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <unicode/locid.h>

namespace heliora {

/// Formats a fact's number: decimal, grouped as a classic decimal formatter groups, 0 to 16 fraction digits,
/// never "-0", in the user's number locale (or the given one). A new formatter is made for every call.
/// Returns the empty string when the number cannot be formatted.
std::string formatFactNumber(double value);
std::string formatFactNumber(double value, const icu::Locale& locale);

/// Cuts a ratio or a distance in AU toward zero, keeping fewer digits the larger it is:
/// |v| >= 10 to an integer, >= 1 to one decimal, >= 0.01 to two, anything smaller to three.
double truncateForDisplay(double value);

/// A text to show: a string-table key, with the one argument its placeholder takes. The argument fills "%@"
/// (an already formatted number) or "%lld" (a plain count, which also picks the plural form).
struct TextKey {
    std::string key;
    std::optional<std::string> argument {};
    std::optional<std::int64_t> count {};

    friend bool operator==(const TextKey&, const TextKey&) = default;
};

enum class FactRowId {
    category,
    mass,
    radius,
    diameter,
    volume,
    gravity,
    naturalSatellites,
    orbitalPeriod,
    rotationPeriod,
    maxOrbitalVelocity,
    minOrbitalVelocity,
    apparentMagnitude,
    maxDistanceFromEarth,
    minDistanceFromEarth,
};

/// The row's stable name for scripts: "category", "mass", ... "natural_satellites", ... "min_distance_from_earth".
std::string_view rowName(FactRowId id);

/// The group a row is shown in: 0 physical facts, 1 orbit and rotation, 2 seen from Earth.
int factSection(FactRowId id);

/// The line under a value: a times-Earth ratio ("%@ x " then "earth") or a distance in AU ("%@ AU").
/// Its pieces are shown side by side and read aloud as one text.
struct SecondaryLine {
    enum class Kind { ratio, astronomicalUnits };
    Kind kind;
    std::vector<TextKey> pieces;
};

/// Every text of one fact, as keys: the title with its unit suffix, the caption (several keys are joined),
/// the value (pieces joined) and the optional secondary line. The model composes; the views look texts up.
struct FactRow {
    FactRowId id;
    std::string titleKey;
    std::optional<std::string> unitSuffixKey;
    std::vector<std::string> captionKeys;
    std::vector<TextKey> value;
    std::optional<SecondaryLine> secondary;
};

/// The rows of the body in display order. A row whose fact is absent does not exist.
std::vector<FactRow> factRows(const SolarSystemObject& object);
std::vector<FactRow> factRows(const SolarSystemObject& object, const icu::Locale& numberLocale);

} // namespace heliora
