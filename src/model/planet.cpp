#include "model/planet.h"

#include <algorithm>

namespace heliora {

namespace {

    struct PlanetData {
        std::string_view raw;
        std::string_view name;
        std::string_view category;
        double sizeRatio;
    };

    constexpr std::array<PlanetData, planetCount> planetData { {
        { "mercury", "Mercury", "terrestrial_planet", 1.0 / 12.0 },
        { "venus", "Venus", "terrestrial_planet", 1.0 / 12.0 },
        { "earth", "Earth", "terrestrial_planet", 1.0 / 12.0 },
        { "mars", "Mars", "terrestrial_planet", 1.0 / 12.0 },
        { "jupiter", "Jupiter", "gas_giant", 1.0 / 14.0 },
        { "saturn", "Saturn", "gas_giant", 1.0 / 12.0 },
        { "uranus", "Uranus", "ice_giant", 1.0 / 14.0 },
        { "neptune", "Neptune", "ice_giant", 1.0 / 12.0 },
        { "pluto", "Pluto", "dwarf_planet", 1.0 / 12.0 },
    } };

    const PlanetData& dataOf(Planet p) { return planetData.at(indexOf(p)); }

    constexpr std::array<SolarSystemObject, planetCount + 1> allObjects {
        SolarSystemObject::sun(),
        SolarSystemObject::planet(Planet::mercury),
        SolarSystemObject::planet(Planet::venus),
        SolarSystemObject::planet(Planet::earth),
        SolarSystemObject::planet(Planet::mars),
        SolarSystemObject::planet(Planet::jupiter),
        SolarSystemObject::planet(Planet::saturn),
        SolarSystemObject::planet(Planet::uranus),
        SolarSystemObject::planet(Planet::neptune),
        SolarSystemObject::planet(Planet::pluto),
    };

} // namespace

std::string_view rawValue(Planet p) { return dataOf(p).raw; }

std::string_view name(Planet p) { return dataOf(p).name; }
std::string_view imageName(Planet p) { return dataOf(p).name; }
std::string_view categoryKey(Planet p) { return dataOf(p).category; }
double sizeRatio(Planet p) { return dataOf(p).sizeRatio; }

std::string_view SolarSystemObject::name() const { return m_planet ? heliora::name(*m_planet) : "Sun"; }

std::string_view SolarSystemObject::localizationKey() const { return m_planet ? rawValue(*m_planet) : "sun"; }

std::string_view SolarSystemObject::imageName() const { return name(); }

std::optional<std::string_view> SolarSystemObject::categoryKey() const
{
    if (!m_planet)
        return std::nullopt;
    return heliora::categoryKey(*m_planet);
}

std::string SolarSystemObject::factSheetURL() const
{
    // The lowercased English name equals the localization key ("sun", "earth", ...).
    return std::string(factSheetBase) + std::string(localizationKey()) + "fact.html";
}

bool SolarSystemObject::isEarth() const { return localizationKey() == "earth"; }

std::span<const SolarSystemObject> allSolarSystemObjects() { return allObjects; }

std::optional<SolarSystemObject> solarSystemObjectFromKey(std::string_view text)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (const SolarSystemObject& object : allObjects) {
        const std::string_view key = object.localizationKey();
        if (std::ranges::equal(text, key, [&](char a, char b) { return lower(a) == b; }))
            return object;
    }
    return std::nullopt;
}

} // namespace heliora
