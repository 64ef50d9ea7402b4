#include "app/detailwindowcontroller.h"

#include "app/solarsystemobjectdetailview.h"
#include "views/groupedsection.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace heliora {
namespace {

    // The rows a body lacks, whether it turns backwards, and one row as a reader in the United States sees it.
    struct BodyCase {
        SolarSystemObject object;
        const char* title;
        std::set<FactRowId> absent = {};
        bool retrograde = false;
        const char* row;
        const char* rowTitle;
        const char* value;
        const char* secondary = nullptr; // no second line
    };

    void PrintTo(const BodyCase& c, std::ostream* os) { *os << c.title; }

    class FactWindow : public ::testing::TestWithParam<BodyCase> { };

    TEST_P(FactWindow, ShowsThePresentFacts)
    {
        const BodyCase& c = GetParam();
        const std::unique_ptr<DetailWindowController> window(DetailWindowController::forBody(c.object));
        window->show();
        EXPECT_EQ(window->windowTitle(), QString::fromUtf8(c.title));
        const auto* view = qobject_cast<SolarSystemObjectDetailView*>(window->rootView());
        ASSERT_NE(view, nullptr);
        // Content taller than the window scrolls.
        const auto* scrollArea = window->findChild<QScrollArea*>(QStringLiteral("scroll_area"));
        ASSERT_NE(scrollArea, nullptr);
        EXPECT_EQ(scrollArea->verticalScrollBar()->maximum() > 0, view->height() > scrollArea->viewport()->height());

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

    // Windows without a title bar (no window manager) and keyboard users close a fact window with its keys; the
    // window then frees itself and its view, and leaves other fact windows open.
    class ClosingKeys : public ::testing::TestWithParam<QKeySequence> { };

    TEST_P(ClosingKeys, CloseTheActiveFactWindowAndFreeIt)
    {
        const std::unique_ptr<DetailWindowController> other(DetailWindowController::forBody(SolarSystemObject::sun()));
        other->show();
        QPointer<DetailWindowController> window
            = DetailWindowController::forBody(SolarSystemObject::planet(Planet::mars));
        QPointer<QWidget> view = window->rootView();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QTest::keySequence(window, GetParam());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(window.isNull());
        EXPECT_TRUE(view.isNull());
        EXPECT_TRUE(other->isVisible());
        delete window;
    }

    INSTANTIATE_TEST_SUITE_P(Keys, ClosingKeys,
        ::testing::Values(QKeySequence(Qt::CTRL | Qt::Key_W), QKeySequence(Qt::Key_Escape)),
        [](const auto& info) { return info.param == QKeySequence(Qt::Key_Escape) ? "Escape" : "CtrlW"; });

    using enum FactRowId;

    // clang-format off
    const BodyCase bodies[] = {
        { .object = SolarSystemObject::sun(), .title = "Sun",
            .absent = { category, naturalSatellites, orbitalPeriod, maxOrbitalVelocity, minOrbitalVelocity },
            .row = "min_distance_from_earth", .rowTitle = "Min. distance from Earth (10⁶ km)", .value = "147.1",
            .secondary = "0.98 AU" },
        { .object = SolarSystemObject::planet(Planet::earth), .title = "Earth",
            .absent = { apparentMagnitude, maxDistanceFromEarth, minDistanceFromEarth },
            .row = "natural_satellites", .rowTitle = "Moons", .value = "1" },
        { .object = SolarSystemObject::planet(Planet::venus), .title = "Venus", .retrograde = true,
            .row = "rotation_period", .rowTitle = "Rotation period", .value = "-5,832.5 hours",
            .secondary = "-244 x Earth" },
        { .object = SolarSystemObject::planet(Planet::mercury), .title = "Mercury",
            .row = "mass", .rowTitle = "Mass (10²⁴ kg)", .value = "0.33011", .secondary = "0.05 x Earth" },
    };
    // clang-format on

    INSTANTIATE_TEST_SUITE_P(Bodies, FactWindow, ::testing::ValuesIn(bodies),
        [](const auto& info) { return std::string(info.param.title); });

} // namespace
} // namespace heliora
