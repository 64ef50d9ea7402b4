#include "app/detailwindowcontroller.h"

#include "app/solarsystemobjectdetailview.h"
#include "views/groupedsection.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <set>

namespace heliora {
namespace {

    // The rows a body lacks, whether it turns backwards, and one row as a reader in the United States sees it.
    struct BodyCase {
        SolarSystemObject object;
        const char* title;
        std::set<FactRowId> absent;
        bool retrograde;
        const char *row, *rowTitle, *value, *secondary; // secondary null: no second line
    };

    void PrintTo(const BodyCase& c, std::ostream* os) { *os << c.title; }

    class FactWindow : public ::testing::TestWithParam<BodyCase> {
    protected:
        void TearDown() override { deleteOpenDetailWindows(); }
    };

    TEST_P(FactWindow, ShowsThePresentFactsOnA400By600Content)
    {
        const BodyCase& c = GetParam();
        DetailWindowController* window = openDetailWindow(c.object);
        EXPECT_EQ(window->windowTitle(), QString::fromUtf8(c.title));
        EXPECT_EQ(window->size(), QSize(400, 600));
        const auto* view = qobject_cast<SolarSystemObjectDetailView*>(window->rootView());
        ASSERT_NE(view, nullptr);
        // Content taller than the window scrolls.
        EXPECT_EQ(window->scrollArea()->verticalScrollBar()->maximum() > 0, view->height() > 600);

        const auto rowOf = [view](std::string_view name) { return view->findChild<QWidget*>(QString::fromUtf8(name)); };
        const auto label = [&rowOf](const char* row, const char* name) {
            const auto* found = rowOf(row) ? rowOf(row)->findChild<QLabel*>(QLatin1String(name)) : nullptr;
            return found ? found->text() : QStringLiteral("<none>");
        };
        for (int i = 0; i <= static_cast<int>(FactRowId::minDistanceFromEarth); ++i)
            EXPECT_EQ(rowOf(rowName(FactRowId(i))) != nullptr, !c.absent.contains(FactRowId(i)))
                << rowName(FactRowId(i));
        EXPECT_EQ(view->findChild<GroupedSection*>(QStringLiteral("section_2")) == nullptr, c.object.isEarth());
        EXPECT_EQ(label(c.row, "title"), QString::fromUtf8(c.rowTitle));
        EXPECT_EQ(label(c.row, "value"), QString::fromUtf8(c.value));
        EXPECT_EQ(label(c.row, "secondary"), QString::fromUtf8(c.secondary ? c.secondary : "<none>"));

        // Earth compared with itself says nothing: no ratio lines at all. A ratio line is read as one element.
        for (const char* name : { "mass", "radius", "diameter", "volume", "gravity", "rotation_period" }) {
            auto* ratio = rowOf(name)->findChild<QLabel*>(QStringLiteral("secondary"));
            ASSERT_EQ(ratio == nullptr, c.object.isEarth()) << name;
            if (ratio) {
                EXPECT_TRUE(ratio->text().endsWith(QStringLiteral(" x Earth"))) << ratio->text().toStdString();
                EXPECT_EQ(ratio->accessibleName(), ratio->text());
            }
        }
        auto* caption = rowOf("rotation_period")->findChild<QLabel*>(QStringLiteral("caption"));
        ASSERT_NE(caption, nullptr);
        const QString expected = QStringLiteral("Time to complete one rotation")
            + (c.retrograde ? QStringLiteral(" (negative numbers indicate retrograde rotation)") : QString());
        EXPECT_EQ(caption->text(), expected);
        EXPECT_EQ(caption->accessibleName(), expected);

        auto* source = view->findChild<QLabel*>(QStringLiteral("source_line"));
        ASSERT_NE(source, nullptr);
        EXPECT_EQ(source->accessibleName(), QStringLiteral("Source: NSSDCA"));
        EXPECT_TRUE(source->text().contains(QString::fromStdString("href=\"" + c.object.factSheetURL() + '"')));
    }

    TEST_P(FactWindow, OpeningTwiceGivesTwoWindowsAndClosingFreesOne)
    {
        QPointer<DetailWindowController> first = openDetailWindow(GetParam().object);
        QPointer<DetailWindowController> second = openDetailWindow(GetParam().object);
        QPointer<QWidget> view = first->rootView();
        EXPECT_TRUE(first->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(first.isNull());
        EXPECT_TRUE(view.isNull());
        EXPECT_TRUE(second && second->isVisible());
        deleteOpenDetailWindows(); // as when the application ends
        EXPECT_TRUE(second.isNull());
    }

    using enum FactRowId;

    INSTANTIATE_TEST_SUITE_P(Bodies, FactWindow,
        ::testing::Values(
            BodyCase { SolarSystemObject::sun(), "Sun",
                { category, naturalSatellites, orbitalPeriod, maxOrbitalVelocity, minOrbitalVelocity }, false,
                "min_distance_from_earth", "Min. distance from Earth (10⁶ km)", "147.1", "0.98 AU" },
            BodyCase { SolarSystemObject::planet(Planet::earth), "Earth",
                { apparentMagnitude, maxDistanceFromEarth, minDistanceFromEarth }, false, "natural_satellites", "Moons",
                "1", nullptr },
            BodyCase { SolarSystemObject::planet(Planet::venus), "Venus", {}, true, "rotation_period",
                "Rotation period", "-5,832.5 hours", "-244 x Earth" },
            BodyCase { SolarSystemObject::planet(Planet::mercury), "Mercury", {}, false, "mass", "Mass (10²⁴ kg)",
                "0.33011", "0.05 x Earth" }),
        [](const auto& info) { return std::string(info.param.title); });

} // namespace
} // namespace heliora
