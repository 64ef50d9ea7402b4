#include "solarsystemobjectdetailview.h"

#include "appearance.h"
#include "bodyimage.h"
#include "groupedsection.h"
#include "stringtable.h"
#include "widgettestenvironment.h"

#include <QLabel>

#include <gtest/gtest.h>

#include <set>

namespace heliora {
namespace {

    using test::accessibleName;
    using test::labelText;

    QWidget* rowOf(const QWidget& view, const char* name) { return view.findChild<QWidget*>(QLatin1String(name)); }

    // The rows a body lacks: the Sun has no category, moons, orbit or orbital velocities; Earth is not seen
    // from Earth. Venus has the retrograde note.
    struct BodyCase {
        SolarSystemObject object;
        std::set<FactRowId> absent;
        bool retrograde;
    };

    void PrintTo(const BodyCase& c, std::ostream* os) { PrintTo(c.object, os); }

    class DetailView : public ::testing::TestWithParam<BodyCase> { };

    TEST_P(DetailView, ShowsThePresentFactsInOrderInTheirSections)
    {
        const SolarSystemObjectDetailView view(GetParam().object);
        // Each row as "section:row".
        std::vector<std::string> shown;
        for (int section = 0; section < 3; ++section) {
            const auto* panel = view.findChild<GroupedSection*>(QStringLiteral("section_%1").arg(section));
            for (QWidget* row : panel ? panel->rows() : QList<QWidget*>())
                shown.push_back(std::to_string(section) + ":" + row->objectName().toStdString());
        }
        std::vector<std::string> expected;
        for (int i = 0; i <= static_cast<int>(FactRowId::minDistanceFromEarth); ++i) {
            const auto id = static_cast<FactRowId>(i);
            if (!GetParam().absent.contains(id))
                expected.push_back(std::to_string(factSection(id)) + ":" + std::string(rowName(id)));
        }
        EXPECT_EQ(shown, expected);
        EXPECT_EQ(view.findChild<GroupedSection*>(QStringLiteral("section_2")) == nullptr, GetParam().object.isEarth());
    }

    TEST_P(DetailView, ReadsRatioLinesCaptionsAndSourceAsSingleElements)
    {
        const SolarSystemObjectDetailView view(GetParam().object);
        for (const char* name : { "mass", "radius", "diameter", "volume", "gravity", "rotation_period" }) {
            auto* ratio = rowOf(view, name)->findChild<QLabel*>(QStringLiteral("secondary"));
            // Earth compared with itself says nothing: no ratio lines at all.
            ASSERT_EQ(ratio == nullptr, GetParam().object.isEarth()) << name;
            if (ratio) {
                EXPECT_TRUE(ratio->text().endsWith(tr("earth"))) << ratio->text().toStdString();
                EXPECT_EQ(accessibleName(ratio), ratio->text());
                EXPECT_EQ(ratio->palette().color(QPalette::WindowText), colors::gray());
            }
        }

        auto* caption = rowOf(view, "rotation_period")->findChild<QLabel*>(QStringLiteral("caption"));
        ASSERT_NE(caption, nullptr);
        QString expected = tr("time_to_complete_one_rotation");
        if (GetParam().retrograde)
            expected += tr(" ") + tr("negative_numbers_indicate_retrograde_rotation");
        EXPECT_EQ(caption->text(), expected);
        EXPECT_EQ(accessibleName(caption), expected);

        auto* source = view.findChild<QLabel*>(QStringLiteral("source_line"));
        ASSERT_NE(source, nullptr);
        EXPECT_EQ(accessibleName(source), QStringLiteral("Source: NSSDCA"));
        EXPECT_TRUE(source->text().contains(
            QStringLiteral("href=\"%1\"").arg(QString::fromStdString(GetParam().object.factSheetURL()))));
        EXPECT_TRUE(source->text().contains(colors::orange().name()));
        EXPECT_TRUE(source->text().contains(QStringLiteral("underline")));
    }

    using enum FactRowId;

    INSTANTIATE_TEST_SUITE_P(Bodies, DetailView,
        ::testing::Values(
            BodyCase { SolarSystemObject::sun(),
                { category, naturalSatellites, orbitalPeriod, maxOrbitalVelocity, minOrbitalVelocity }, false },
            BodyCase { SolarSystemObject::planet(Planet::earth),
                { apparentMagnitude, maxDistanceFromEarth, minDistanceFromEarth }, false },
            BodyCase { SolarSystemObject::planet(Planet::venus), {}, true },
            BodyCase { SolarSystemObject::planet(Planet::mercury), {}, false }),
        [](const auto& info) { return std::string(info.param.object.localizationKey()); });

    // The published facts as a reader in the United States sees them.
    struct ValueCase {
        SolarSystemObject object;
        const char* row;
        const char* title;
        const char* value;
        const char* secondary; // null: no second line
    };

    void PrintTo(const ValueCase& c, std::ostream* os) { *os << c.object.localizationKey() << ' ' << c.row; }

    class DetailValue : public ::testing::TestWithParam<ValueCase> { };

    TEST_P(DetailValue, ShowsTitleValueAndSecondLine)
    {
        const SolarSystemObjectDetailView view(GetParam().object);
        const QWidget* row = rowOf(view, GetParam().row);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(labelText(row, "title"), QString::fromUtf8(GetParam().title));
        EXPECT_EQ(labelText(row, "value"), QString::fromUtf8(GetParam().value));
        EXPECT_EQ(labelText(row, "secondary"),
            GetParam().secondary ? QString::fromUtf8(GetParam().secondary) : labelText(nullptr, "secondary"));
    }

    const auto earth = SolarSystemObject::planet(Planet::earth);
    const auto venus = SolarSystemObject::planet(Planet::venus);
    const auto mercury = SolarSystemObject::planet(Planet::mercury);

    INSTANTIATE_TEST_SUITE_P(Examples, DetailValue,
        ::testing::Values(
            ValueCase { SolarSystemObject::sun(), "mass", "Mass (10²⁴ kg)", "1,988,500", "332,948 x Earth" },
            ValueCase { SolarSystemObject::sun(), "rotation_period", "Rotation period", "609.12 hours", "25 x Earth" },
            ValueCase { SolarSystemObject::sun(), "max_distance_from_earth", "Max. distance from Earth (10⁶ km)",
                "152.1", "1 AU" },
            ValueCase { SolarSystemObject::sun(), "min_distance_from_earth", "Min. distance from Earth (10⁶ km)",
                "147.1", "0.98 AU" },
            ValueCase { earth, "natural_satellites", "Moons", "1", nullptr },
            ValueCase { venus, "rotation_period", "Rotation period", "-5,832.5 hours", "-244 x Earth" },
            ValueCase { mercury, "natural_satellites", "Moons", "0", nullptr },
            ValueCase { mercury, "mass", "Mass (10²⁴ kg)", "0.33011", "0.05 x Earth" }),
        [](const auto& info) { return std::string(info.param.object.localizationKey()) + "_" + info.param.row; });

    TEST(DetailViewText, FollowsTheUsersLanguageAndNumbers)
    {
        const test::ScopedLanguage german("de_DE.UTF-8");
        const SolarSystemObjectDetailView view(venus);
        EXPECT_EQ(labelText(rowOf(view, "rotation_period"), "value"), QStringLiteral("-5.832,5 Stunden"));
        EXPECT_EQ(labelText(rowOf(view, "rotation_period"), "secondary"), QStringLiteral("-244 x Erde"));
        EXPECT_EQ(
            accessibleName(view.findChild<QLabel*>(QStringLiteral("source_line"))), QStringLiteral("Quelle: NSSDCA"));
    }

    TEST(DetailViewHeader, ShowsTheSunAtEightyPerCent)
    {
        const SolarSystemObjectDetailView view(SolarSystemObject::sun());
        EXPECT_EQ(view.findChild<BodyImage*>(QStringLiteral("header_image"))->size(), QSize(100, 100));
        EXPECT_EQ(BodyImage::pictureRect(SolarSystemObject::sun(), 100), QRectF(10, 10, 80, 80));
        EXPECT_EQ(BodyImage::pictureRect(mercury, 100), QRectF(0, 0, 100, 100));
    }

} // namespace
} // namespace heliora
