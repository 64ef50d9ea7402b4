#include "model/planet.h"

#include <gtest/gtest.h>

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

    TEST(SolarSystemObject, FactSheetIsNamedAfterTheKey)
    {
        EXPECT_EQ(
            SolarSystemObject::sun().factSheetURL(), "https://nssdc.gsfc.nasa.gov/planetary/factsheet/sunfact.html");
        EXPECT_EQ(
            planet(Planet::earth).factSheetURL(), "https://nssdc.gsfc.nasa.gov/planetary/factsheet/earthfact.html");
    }

} // namespace
} // namespace heliora
