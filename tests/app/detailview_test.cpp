#include "solarsystemobjectdetailview.h"

#include "appearance.h"
#include "bodyimage.h"
#include "groupedsection.h"
#include "stringtable.h"
#include "widgettestenvironment.h"

#include <QAccessible>
#include <QDesktopServices>
#include <QLabel>

#include <gtest/gtest.h>

#include <set>

namespace heliora {
namespace {

    using test::labelText;

    std::string keyOf(const SolarSystemObject& object) { return std::string(object.localizationKey()); }

    QString accessibleName(QWidget* widget)
    {
        QAccessibleInterface* interface = widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
        return interface ? interface->text(QAccessible::Name) : QStringLiteral("<no accessible element>");
    }

    // The rows of a view, top to bottom, by name.
    std::vector<std::string> shownRows(const SolarSystemObjectDetailView& view)
    {
        std::vector<std::string> names;
        for (int section = 0; section < 3; ++section) {
            const auto* panel = view.findChild<GroupedSection*>(QStringLiteral("section_%1").arg(section));
            if (!panel)
                continue;
            for (QWidget* row : panel->rows())
                names.push_back(row->objectName().toStdString());
        }
        return names;
    }

    // Which rows a body lacks because it lacks the facts: the Sun has no category, moons, orbit or orbital
    // velocities; Earth is not seen from Earth.
    struct PresenceCase {
        SolarSystemObject object;
        std::set<FactRowId> absent;
        bool retrograde;
    };

    void PrintTo(const PresenceCase& c, std::ostream* os) { *os << keyOf(c.object); }

    class DetailRows : public ::testing::TestWithParam<PresenceCase> { };

    TEST_P(DetailRows, ShowEveryPresentFactInOrderAndNothingElse)
    {
        const SolarSystemObjectDetailView view(GetParam().object);
        std::vector<std::string> expected;
        for (int id = static_cast<int>(FactRowId::category); id <= static_cast<int>(FactRowId::minDistanceFromEarth);
             ++id) {
            if (!GetParam().absent.contains(static_cast<FactRowId>(id)))
                expected.emplace_back(rowName(static_cast<FactRowId>(id)));
        }
        EXPECT_EQ(shownRows(view), expected);
    }

    TEST_P(DetailRows, GroupRowsIntoTheirSections)
    {
        const SolarSystemObjectDetailView view(GetParam().object);
        for (const FactRow& row : factRows(GetParam().object)) {
            const auto* widget = view.findChild<QWidget*>(QString::fromUtf8(rowName(row.id).data()));
            ASSERT_NE(widget, nullptr) << rowName(row.id);
            EXPECT_EQ(widget->parentWidget()->objectName(), QStringLiteral("section_%1").arg(factSection(row.id)))
                << rowName(row.id);
        }
        EXPECT_EQ(view.findChild<GroupedSection*>(QStringLiteral("section_2")) == nullptr, GetParam().object.isEarth());
    }

    TEST_P(DetailRows, RatioLinesOnlyBesideOtherBodiesThanEarth)
    {
        const SolarSystemObjectDetailView view(GetParam().object);
        for (const char* name : { "mass", "radius", "diameter", "volume", "gravity", "rotation_period" }) {
            const auto* row = view.findChild<QWidget*>(QLatin1String(name));
            ASSERT_NE(row, nullptr) << name;
            const auto* ratio = row->findChild<QLabel*>(QStringLiteral("secondary"));
            if (GetParam().object.isEarth()) {
                EXPECT_EQ(ratio, nullptr) << name;
                continue;
            }
            ASSERT_NE(ratio, nullptr) << name;
            EXPECT_TRUE(ratio->text().endsWith(tr("earth"))) << name << ": " << ratio->text().toStdString();
        }
    }

    TEST_P(DetailRows, RotationCaptionCarriesTheRetrogradeNoteWhereDue)
    {
        const SolarSystemObjectDetailView view(GetParam().object);
        auto* caption = view.findChild<QWidget*>(QStringLiteral("rotation_period"))
                            ->findChild<QLabel*>(QStringLiteral("caption"));
        ASSERT_NE(caption, nullptr);
        const QString plain = tr("time_to_complete_one_rotation");
        const QString expected
            = GetParam().retrograde ? plain + tr(" ") + tr("negative_numbers_indicate_retrograde_rotation") : plain;
        EXPECT_EQ(caption->text(), expected);
        // The joined caption is one element for assistive technologies, read in full.
        EXPECT_EQ(accessibleName(caption), expected);
    }

    TEST_P(DetailRows, CaptionsAndSecondLinesAreGreyAndValuesAreNot)
    {
        const SolarSystemObjectDetailView view(GetParam().object);
        for (QLabel* label : view.findChildren<QLabel*>()) {
            const QColor colour = label->palette().color(QPalette::WindowText);
            const QString name = label->objectName();
            if (name == QLatin1String("caption") || name == QLatin1String("secondary")) {
                EXPECT_EQ(colour, colors::gray()) << name.toStdString();
            } else if (name == QLatin1String("title") || name == QLatin1String("value")) {
                EXPECT_NE(colour, colors::gray()) << name.toStdString();
            }
        }
    }

    TEST_P(DetailRows, SourceLineLinksTheFactSheetAsOneElement)
    {
        SolarSystemObjectDetailView view(GetParam().object);
        auto* source = view.findChild<QLabel*>(QStringLiteral("source_line"));
        ASSERT_NE(source, nullptr);
        const QString url = QString::fromStdString(GetParam().object.factSheetURL());
        EXPECT_TRUE(source->text().contains(QStringLiteral("href=\"%1\"").arg(url))) << source->text().toStdString();
        EXPECT_TRUE(source->text().contains(colors::orange().name()));
        EXPECT_TRUE(source->text().contains(QStringLiteral("underline")));
        EXPECT_EQ(accessibleName(source), QStringLiteral("Source: NSSDCA"));
        EXPECT_EQ(source->textInteractionFlags() & Qt::LinksAccessibleByMouse, Qt::LinksAccessibleByMouse);
    }

    const auto planet = SolarSystemObject::planet;
    using enum FactRowId;

    INSTANTIATE_TEST_SUITE_P(Bodies, DetailRows,
        ::testing::Values(
            PresenceCase { SolarSystemObject::sun(),
                { category, naturalSatellites, orbitalPeriod, maxOrbitalVelocity, minOrbitalVelocity }, false },
            PresenceCase { planet(Planet::mercury), {}, false }, PresenceCase { planet(Planet::venus), {}, true },
            PresenceCase {
                planet(Planet::earth), { apparentMagnitude, maxDistanceFromEarth, minDistanceFromEarth }, false },
            PresenceCase { planet(Planet::mars), {}, false }, PresenceCase { planet(Planet::jupiter), {}, false },
            PresenceCase { planet(Planet::saturn), {}, false }, PresenceCase { planet(Planet::uranus), {}, true },
            PresenceCase { planet(Planet::neptune), {}, false }, PresenceCase { planet(Planet::pluto), {}, true }),
        [](const auto& info) { return keyOf(info.param.object); });

    // Values as a reader in the United States sees them; the figures are the published facts.
    struct ValueCase {
        SolarSystemObject object;
        const char* row;
        const char* title;
        const char* value;
        const char* secondary; // null: no second line
    };

    void PrintTo(const ValueCase& c, std::ostream* os) { *os << keyOf(c.object) << ' ' << c.row; }

    class DetailValues : public ::testing::TestWithParam<ValueCase> { };

    TEST_P(DetailValues, ShowTitleValueAndSecondLine)
    {
        const SolarSystemObjectDetailView view(GetParam().object);
        const auto* row = view.findChild<QWidget*>(QLatin1String(GetParam().row));
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(labelText(row, "title"), QString::fromUtf8(GetParam().title));
        EXPECT_EQ(labelText(row, "value"), QString::fromUtf8(GetParam().value));
        auto* secondary = row->findChild<QLabel*>(QStringLiteral("secondary"));
        if (!GetParam().secondary) {
            EXPECT_EQ(secondary, nullptr);
            return;
        }
        ASSERT_NE(secondary, nullptr);
        EXPECT_EQ(secondary->text(), QString::fromUtf8(GetParam().secondary));
        // The ratio's number and "Earth" are read as one element.
        EXPECT_EQ(accessibleName(secondary), QString::fromUtf8(GetParam().secondary));
    }

    INSTANTIATE_TEST_SUITE_P(Examples, DetailValues,
        ::testing::Values(
            ValueCase { SolarSystemObject::sun(), "mass", "Mass (10²⁴ kg)", "1,988,500", "332,948 x Earth" },
            ValueCase { SolarSystemObject::sun(), "rotation_period", "Rotation period", "609.12 hours", "25 x Earth" },
            ValueCase {
                SolarSystemObject::sun(), "apparent_magnitude", "Max. apparent magnitude (m)", "-26.74", nullptr },
            ValueCase { SolarSystemObject::sun(), "max_distance_from_earth", "Max. distance from Earth (10⁶ km)",
                "152.1", "1 AU" },
            ValueCase { SolarSystemObject::sun(), "min_distance_from_earth", "Min. distance from Earth (10⁶ km)",
                "147.1", "0.98 AU" },
            ValueCase { planet(Planet::earth), "natural_satellites", "Moons", "1", nullptr },
            ValueCase { planet(Planet::earth), "mass", "Mass (10²⁴ kg)", "5.9724", nullptr },
            ValueCase { planet(Planet::venus), "rotation_period", "Rotation period", "-5,832.5 hours", "-244 x Earth" },
            ValueCase { planet(Planet::mercury), "natural_satellites", "Moons", "0", nullptr },
            ValueCase { planet(Planet::mercury), "mass", "Mass (10²⁴ kg)", "0.33011", "0.05 x Earth" },
            ValueCase { planet(Planet::mars), "orbital_period", "Orbital period", "687 days", nullptr },
            ValueCase { planet(Planet::pluto), "mass", "Mass (10²⁴ kg)", "0.01303", "0.002 x Earth" }),
        [](const auto& info) { return keyOf(info.param.object) + "_" + info.param.row; });

    TEST(DetailView, FollowsTheUsersLanguageAndNumbers)
    {
        const test::ScopedLanguage german("de_DE.UTF-8");
        const SolarSystemObjectDetailView view(SolarSystemObject::planet(Planet::venus));
        const auto* rotation = view.findChild<QWidget*>(QStringLiteral("rotation_period"));
        ASSERT_NE(rotation, nullptr);
        EXPECT_EQ(labelText(rotation, "value"), QStringLiteral("-5.832,5 Stunden"));
        EXPECT_EQ(labelText(rotation, "secondary"), QStringLiteral("-244 x Erde"));
        EXPECT_EQ(
            accessibleName(view.findChild<QLabel*>(QStringLiteral("source_line"))), QStringLiteral("Quelle: NSSDCA"));
        EXPECT_EQ(localizedName(SolarSystemObject::planet(Planet::neptune)), QStringLiteral("Neptun"));
        EXPECT_EQ(localizedName(SolarSystemObject::sun()), QStringLiteral("Sonne"));
    }

    // The header picture: 100 × 100, the Sun at 80 % about the centre, Saturn's rings as wide as the frame.
    struct ImageCase {
        SolarSystemObject object;
        QRectF expected; // null height: only width and centre are fixed
    };

    void PrintTo(const ImageCase& c, std::ostream* os) { *os << keyOf(c.object); }

    class HeaderImage : public ::testing::TestWithParam<ImageCase> { };

    TEST_P(HeaderImage, FitsTheFrameAndShrinksTheSun)
    {
        const SolarSystemObjectDetailView view(GetParam().object);
        const auto* image = view.findChild<BodyImage*>(QStringLiteral("header_image"));
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->size(), QSize(100, 100));
        const QRectF drawn = BodyImage::pictureRect(GetParam().object, 100);
        EXPECT_NEAR(drawn.center().x(), 50, 1e-9);
        EXPECT_NEAR(drawn.center().y(), 50, 1e-9);
        EXPECT_NEAR(drawn.width(), GetParam().expected.width(), 1e-9);
        if (GetParam().expected.height() > 0) {
            EXPECT_NEAR(drawn.height(), GetParam().expected.height(), 1e-9);
        } else {
            EXPECT_LT(drawn.height(), drawn.width() / 1.5);
        }
    }

    INSTANTIATE_TEST_SUITE_P(Bodies, HeaderImage,
        ::testing::Values(ImageCase { SolarSystemObject::sun(), QRectF(10, 10, 80, 80) },
            ImageCase { planet(Planet::mars), QRectF(0, 0, 100, 100) },
            ImageCase { planet(Planet::saturn), QRectF(0, 0, 100, 0) }),
        [](const auto& info) { return keyOf(info.param.object); });

    TEST(HeaderImage, PaintsTheBodyInsideItsFrameOnly)
    {
        BodyImage image(SolarSystemObject::sun(), 100);
        QImage pixels(100, 100, QImage::Format_ARGB32_Premultiplied);
        pixels.fill(Qt::transparent);
        image.render(&pixels, QPoint(), QRegion(), QWidget::DrawChildren);
        EXPECT_GT(qAlpha(pixels.pixel(50, 50)), 200);
        // Outside the Sun's 80 % the frame stays empty.
        EXPECT_EQ(qAlpha(pixels.pixel(5, 50)), 0);
        EXPECT_EQ(qAlpha(pixels.pixel(50, 95)), 0);
    }

} // namespace
} // namespace heliora
