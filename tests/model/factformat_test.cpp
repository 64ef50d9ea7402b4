#include "model/factformat.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace heliora {
namespace {

    struct TruncCase {
        double value;
        double expected;
    };

    void PrintTo(const TruncCase& c, std::ostream* os) { *os << c.value; }

    class TruncateForDisplay : public ::testing::TestWithParam<TruncCase> { };

    TEST_P(TruncateForDisplay, CutsTowardZero) { EXPECT_EQ(truncateForDisplay(GetParam().value), GetParam().expected); }

    INSTANTIATE_TEST_SUITE_P(Table, TruncateForDisplay,
        ::testing::Values(TruncCase { 332948.2, 332948 }, TruncCase { 1.4833, 1.4 }, TruncCase { 0.7196, 0.71 },
            TruncCase { 0.0021817, 0.002 }, TruncCase { -244.03, -244 }, TruncCase { -0.7196, -0.71 },
            TruncCase { 10.0, 10.0 }, TruncCase { 9.99, 9.9 }, TruncCase { 0.01, 0.01 }, TruncCase { 0.00999, 0.009 },
            TruncCase { -1.07, -1.0 }));

    struct NumberCase {
        double value;
        const char* english;
        const char* german;
    };

    void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.english; }

    class FormatFactNumber : public ::testing::TestWithParam<NumberCase> { };

    TEST_P(FormatFactNumber, InEnglishAndGerman)
    {
        EXPECT_EQ(formatFactNumber(GetParam().value, icu::Locale("en_US")), GetParam().english);
        EXPECT_EQ(formatFactNumber(GetParam().value, icu::Locale("de_DE")), GetParam().german);
    }

    INSTANTIATE_TEST_SUITE_P(Table, FormatFactNumber,
        ::testing::Values(NumberCase { 1988500.0, "1,988,500", "1.988.500" },
            NumberCase { -5832.5, "-5,832.5", "-5.832,5" }, NumberCase { 1.0, "1", "1" }, NumberCase { -0.0, "0", "0" },
            NumberCase { 1234.0, "1,234", "1.234" },
            NumberCase { 60190.029630000005, "60,190.029630000005", "60.190,029630000005" },
            NumberCase { 0.1234567890123456789, "0.1234567890123457", "0,1234567890123457" }));

    const icu::Locale english("en_US");

    std::vector<FactRowId> idsOf(const std::vector<FactRow>& rows)
    {
        std::vector<FactRowId> ids;
        std::transform(rows.begin(), rows.end(), std::back_inserter(ids), [](const FactRow& r) { return r.id; });
        return ids;
    }

    const FactRow& rowOf(const std::vector<FactRow>& rows, FactRowId id)
    {
        const auto it = std::find_if(rows.begin(), rows.end(), [&](const FactRow& r) { return r.id == id; });
        if (it == rows.end())
            throw std::runtime_error("row missing");
        return *it;
    }

    // A row exists where its fact does: the Sun has no category, moons or orbit; Earth nothing seen from Earth.
    TEST(FactRows, OnlyTheFactsABodyHas)
    {
        using enum FactRowId;
        EXPECT_EQ(idsOf(factRows(SolarSystemObject::sun(), english)),
            (std::vector { mass, radius, diameter, volume, gravity, rotationPeriod, apparentMagnitude,
                maxDistanceFromEarth, minDistanceFromEarth }));
        const auto earth = factRows(SolarSystemObject::planet(Planet::earth), english);
        EXPECT_EQ(idsOf(earth),
            (std::vector { category, mass, radius, diameter, volume, gravity, naturalSatellites, orbitalPeriod,
                rotationPeriod, maxOrbitalVelocity, minOrbitalVelocity }));
        EXPECT_TRUE(std::none_of(earth.begin(), earth.end(), [](const FactRow& r) { return r.secondary.has_value(); }));
    }

    TEST(FactRows, SunTexts)
    {
        const auto rows = factRows(SolarSystemObject::sun(), english);
        const FactRow& mass = rowOf(rows, FactRowId::mass);
        EXPECT_EQ(mass.unitSuffixKey, " (10²⁴ kg)");
        EXPECT_EQ(mass.value, (std::vector { TextKey { "%@", "1,988,500" } }));
        EXPECT_EQ(mass.secondary->pieces, (std::vector { TextKey { "%@ x ", "332,948" }, TextKey { "earth" } }));
        EXPECT_EQ(rowOf(rows, FactRowId::rotationPeriod).value,
            (std::vector { TextKey { "%@", "609.12" }, TextKey { " " }, TextKey { "hours" } }));
        const FactRow& far = rowOf(rows, FactRowId::maxDistanceFromEarth);
        EXPECT_EQ(far.captionKeys, (std::vector<std::string> { "astronomical_unit_description" }));
        EXPECT_EQ(far.secondary->kind, SecondaryLine::Kind::astronomicalUnits);
        EXPECT_EQ(far.secondary->pieces, (std::vector { TextKey { "%@ AU", "1" } }));
        const FactRow& near = rowOf(rows, FactRowId::minDistanceFromEarth);
        EXPECT_TRUE(near.captionKeys.empty());
        EXPECT_EQ(near.secondary->pieces, (std::vector { TextKey { "%@ AU", "0.98" } }));
    }

    struct RatioCase {
        Planet planet;
        FactRowId row;
        const char* ratio;
    };

    void PrintTo(const RatioCase& c, std::ostream* os) { *os << rawValue(c.planet) << ' ' << rowName(c.row); }

    class FactRowRatio : public ::testing::TestWithParam<RatioCase> { };

    TEST_P(FactRowRatio, IsTruncatedThenFormatted)
    {
        const auto rows = factRows(SolarSystemObject::planet(GetParam().planet), english);
        EXPECT_EQ(rowOf(rows, GetParam().row).secondary->pieces.front().argument, GetParam().ratio);
    }

    INSTANTIATE_TEST_SUITE_P(Table, FactRowRatio,
        ::testing::Values(RatioCase { Planet::pluto, FactRowId::mass, "0.002" },
            RatioCase { Planet::mercury, FactRowId::mass, "0.05" }, RatioCase { Planet::mars, FactRowId::mass, "0.1" },
            RatioCase { Planet::venus, FactRowId::rotationPeriod, "-244" },
            RatioCase { Planet::uranus, FactRowId::rotationPeriod, "-0.71" },
            RatioCase { Planet::mercury, FactRowId::maxDistanceFromEarth, "1.4" }));

    TEST(FactRows, RetrogradeCaptionForVenusUranusAndPluto)
    {
        for (const Planet p : allPlanets) {
            std::vector<std::string> expected { "time_to_complete_one_rotation" };
            if (p == Planet::venus || p == Planet::uranus || p == Planet::pluto)
                expected.insert(expected.end(), { " ", "negative_numbers_indicate_retrograde_rotation" });
            const auto rows = factRows(SolarSystemObject::planet(p), english);
            EXPECT_EQ(rowOf(rows, FactRowId::rotationPeriod).captionKeys, expected) << rawValue(p);
        }
    }

    // Counts fill "%lld" and choose the plural; only measured values are formatted for the locale.
    TEST(FactRows, PeriodsAndCountsAreNotLocaleFormatted)
    {
        const icu::Locale german("de_DE");
        const auto saturn = factRows(SolarSystemObject::planet(Planet::saturn), german);
        EXPECT_EQ(
            rowOf(saturn, FactRowId::orbitalPeriod).value, (std::vector { TextKey { "number_of_years", {}, 29 } }));
        EXPECT_EQ(rowOf(saturn, FactRowId::naturalSatellites).value, (std::vector { TextKey { "%lld", {}, 82 } }));
        const auto mars = factRows(SolarSystemObject::planet(Planet::mars), german);
        EXPECT_EQ(rowOf(mars, FactRowId::orbitalPeriod).value, (std::vector { TextKey { "number_of_days", {}, 687 } }));
        EXPECT_EQ(rowOf(mars, FactRowId::mass).value.front().argument, "0,64171");
    }

} // namespace
} // namespace heliora
