#pragma once

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace heliora {

/// The nine planets in their fixed order: the iteration order, the orrery's ring order and the list order.
/// A planet is identified by its raw value, the lowercase English name.
enum class Planet {
    mercury,
    venus,
    earth,
    mars,
    jupiter,
    saturn,
    uranus,
    neptune,
    pluto,
};

inline constexpr std::size_t planetCount = 9;

/// All nine planets in declaration order.
inline constexpr std::array<Planet, planetCount> allPlanets {
    Planet::mercury,
    Planet::venus,
    Planet::earth,
    Planet::mars,
    Planet::jupiter,
    Planet::saturn,
    Planet::uranus,
    Planet::neptune,
    Planet::pluto,
};

inline constexpr std::array<Planet, 4> innerPlanets { Planet::mercury, Planet::venus, Planet::earth, Planet::mars };
inline constexpr std::array<Planet, 4> outerPlanets { Planet::jupiter, Planet::saturn, Planet::uranus,
    Planet::neptune };

/// The eight planets without Pluto: the first eight of allPlanets, the inner planets followed by the outer ones.
inline constexpr std::array<Planet, 8> eightPlanets = [] {
    std::array<Planet, 8> eight {};
    std::copy_n(allPlanets.begin(), eight.size(), eight.begin());
    return eight;
}();

/// Position of the planet in declaration order (mercury = 0 ... pluto = 8).
constexpr std::size_t indexOf(Planet p) { return static_cast<std::size_t>(p); }

/// The lowercase English name; also the planet's localization key.
std::string_view rawValue(Planet p);

/// The English name, also the name of the planet's picture ("Mercury").
std::string_view name(Planet p);
std::string_view imageName(Planet p);

/// "terrestrial_planet", "gas_giant", "ice_giant" or "dwarf_planet".
std::string_view categoryKey(Planet p);

/// Side of the planet's picture as a fraction of the orrery's diameter.
double sizeRatio(Planet p);

/// The Sun or one planet. A plain value: two suns are equal, a sun never equals a planet.
class SolarSystemObject {
public:
    static constexpr SolarSystemObject sun() { return SolarSystemObject {}; }
    static constexpr SolarSystemObject planet(Planet p) { return SolarSystemObject { p }; }

    constexpr bool isSun() const { return !m_planet.has_value(); }
    constexpr std::optional<Planet> asPlanet() const { return m_planet; }

    /// "Sun" or the planet's English name.
    std::string_view name() const;
    /// "sun" or the planet's raw value.
    std::string_view localizationKey() const;
    std::string_view imageName() const;
    /// The category key; absent for the Sun.
    std::optional<std::string_view> categoryKey() const;
    /// The body's page on the outside planetary fact sheet site.
    std::string factSheetURL() const;
    bool isEarth() const;

    friend constexpr bool operator==(const SolarSystemObject&, const SolarSystemObject&) = default;

private:
    constexpr SolarSystemObject() = default;
    constexpr explicit SolarSystemObject(Planet p)
        : m_planet(p)
    {
    }

    std::optional<Planet> m_planet;
};

/// The ten bodies: the Sun, then the planets in declaration order.
std::span<const SolarSystemObject> allSolarSystemObjects();

/// The body whose localization key ("sun", "mercury" ... "pluto") the text is, in any case of ASCII letters
/// ("Sun", "MARS"), the whole text; nothing for any other text. How command lines name a body.
std::optional<SolarSystemObject> solarSystemObjectFromKey(std::string_view text);

/// The directory of the outside fact sheets, ending in a slash.
inline constexpr std::string_view factSheetBase = "https://nssdc.gsfc.nasa.gov/planetary/factsheet/";

} // namespace heliora
