#include "model/planet.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace heliora {
namespace {

    struct KeyCase {
        std::string_view text;
        std::optional<SolarSystemObject> expected;
    };

    void PrintTo(const KeyCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

    class BodyFromKey : public ::testing::TestWithParam<KeyCase> { };

    TEST_P(BodyFromKey, AcceptsTheTenKeysInAnyCaseAndNothingElse)
    {
        EXPECT_EQ(solarSystemObjectFromKey(GetParam().text), GetParam().expected);
    }

    const auto planet = SolarSystemObject::planet;

    INSTANTIATE_TEST_SUITE_P(Table, BodyFromKey,
        ::testing::Values(KeyCase { "earth", planet(Planet::earth) }, KeyCase { "PLUTO", planet(Planet::pluto) },
            KeyCase { "Mercury", planet(Planet::mercury) }, KeyCase { "sUn", SolarSystemObject::sun() },
            KeyCase { "", std::nullopt }, KeyCase { "earth ", std::nullopt }, KeyCase { "ear", std::nullopt },
            KeyCase { "earths", std::nullopt }, KeyCase { "Erde", std::nullopt },
            KeyCase { std::string_view("mars\0", 5), std::nullopt }, KeyCase { "M\xc3\x84RS", std::nullopt }));

    TEST(Planet, DisplayData)
    {
        EXPECT_EQ(categoryKey(Planet::pluto), "dwarf_planet");
        EXPECT_EQ(categoryKey(Planet::uranus), "ice_giant");
        EXPECT_DOUBLE_EQ(sizeRatio(Planet::pluto), 1.0 / 12.0);
        EXPECT_DOUBLE_EQ(sizeRatio(Planet::jupiter), 1.0 / 14.0);
        EXPECT_DOUBLE_EQ(sizeRatio(Planet::uranus), 1.0 / 14.0);
    }

    TEST(Planet, EightPlanetListIsInnerThenOuterWithoutPluto)
    {
        ASSERT_EQ(eightPlanets.size(), 8U);
        EXPECT_TRUE(std::equal(innerPlanets.begin(), innerPlanets.end(), eightPlanets.begin()));
        EXPECT_TRUE(std::equal(outerPlanets.begin(), outerPlanets.end(), eightPlanets.begin() + 4));
        EXPECT_EQ(std::count(eightPlanets.begin(), eightPlanets.end(), Planet::pluto), 0);
    }

    TEST(SolarSystemObject, Equality)
    {
        EXPECT_EQ(SolarSystemObject::sun(), SolarSystemObject::sun());
        EXPECT_NE(SolarSystemObject::sun(), SolarSystemObject::planet(Planet::mercury));
        EXPECT_EQ(SolarSystemObject::planet(Planet::mars), SolarSystemObject::planet(Planet::mars));
        EXPECT_NE(SolarSystemObject::planet(Planet::mars), SolarSystemObject::planet(Planet::earth));
    }

    TEST(SolarSystemObject, DisplayDataOfTheSunAndAPlanet)
    {
        const auto sun = SolarSystemObject::sun();
        EXPECT_EQ(sun.name(), "Sun");
        EXPECT_EQ(sun.localizationKey(), "sun");
        EXPECT_EQ(sun.imageName(), "Sun");
        EXPECT_FALSE(sun.categoryKey().has_value());
        EXPECT_FALSE(sun.isEarth());
        EXPECT_EQ(sun.factSheetURL(), "https://nssdc.gsfc.nasa.gov/planetary/factsheet/sunfact.html");

        const auto earth = SolarSystemObject::planet(Planet::earth);
        EXPECT_TRUE(earth.isEarth());
        EXPECT_EQ(earth.localizationKey(), "earth");
        EXPECT_EQ(earth.factSheetURL(), "https://nssdc.gsfc.nasa.gov/planetary/factsheet/earthfact.html");
        EXPECT_EQ(SolarSystemObject::planet(Planet::pluto).categoryKey(), "dwarf_planet");
    }

} // namespace
} // namespace heliora
