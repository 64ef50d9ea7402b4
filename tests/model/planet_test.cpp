#include "planet.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace heliora {
namespace {

    struct RawCase {
        const char* text;
        std::optional<Planet> expected;
    };

    void PrintTo(const RawCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

    class PlanetFromRawValue : public ::testing::TestWithParam<RawCase> { };

    TEST_P(PlanetFromRawValue, AcceptsExactlyTheNineNames)
    {
        EXPECT_EQ(planetFromRawValue(GetParam().text), GetParam().expected);
    }

    INSTANTIATE_TEST_SUITE_P(Table, PlanetFromRawValue,
        ::testing::Values(RawCase { "earth", Planet::earth }, RawCase { "pluto", Planet::pluto },
            RawCase { "mercury", Planet::mercury }, RawCase { "Earth", std::nullopt }, RawCase { "", std::nullopt },
            RawCase { "earth ", std::nullopt }, RawCase { "sun", std::nullopt }, RawCase { "ear", std::nullopt }));

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
