#include "solarsystemview.h"

#include "scopedenv.h"
#include "stringtable.h"

#include <QAccessible>
#include <QApplication>
#include <QHelpEvent>
#include <QPaintEvent>
#include <QTest>
#include <QToolTip>
#include <QVariantAnimation>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace heliora {
namespace {

    constexpr double epochUtc = 946727935.0; // 2000-01-01T11:58:55Z
    constexpr double start2024 = 1704067200.0; // 2024-01-01T00:00:00Z
    constexpr double day = 86400;

    // One application for every test of this program; widgets need it, the layout and painting tests do not mind.
    class QtApplication : public ::testing::Environment {
    public:
        void SetUp() override
        {
            static int argc = 1;
            static char name[] = "views_tests";
            static char* argv[] = { name, nullptr };
            m_app = std::make_unique<QApplication>(argc, argv);
        }
        void TearDown() override { m_app.reset(); }

    private:
        std::unique_ptr<QApplication> m_app;
    };

    [[maybe_unused]] const auto* const qtApplication = ::testing::AddGlobalTestEnvironment(new QtApplication);

    // Counts the paint events of a widget and keeps the region of the last one.
    class PaintSpy : public QObject {
    public:
        explicit PaintSpy(QWidget* widget) { widget->installEventFilter(this); }
        int count = 0;
        QRegion lastRegion;

    protected:
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint) {
                ++count;
                lastRegion = static_cast<QPaintEvent*>(event)->region();
            }
            return false;
        }
    };

    double normalised(double degrees)
    {
        const double r = std::fmod(degrees, 360.0);
        return r < 0 ? r + 360.0 : r;
    }

    // The difference of two directions in degrees, in (−180, 180].
    double turnBetween(double from, double to)
    {
        const double d = normalised(to - from);
        return d > 180 ? d - 360 : d;
    }

    class SolarSystemViewTest : public ::testing::Test {
    protected:
        void SetUp() override
        {
            setStringsLanguage(QStringLiteral("en"));
            view.setDate(start2024);
        }
        void TearDown() override { setStringsLanguage(QStringLiteral("en")); }

        void showView()
        {
            view.resize(view.sizeHint());
            view.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        }

        // Every planet's target for a date, as the layout alone computes it.
        OrreryLayout targetAt(double date) const
        {
            OrreryInputs in = view.inputs();
            in.date = date;
            return layoutOrrery(in, epochUtc);
        }

        QVariantAnimation* animation() { return view.findChild<QVariantAnimation*>(); }

        test::ScopedEnv env { { "TZ", "UTC" } };
        SolarSystemView view;
    };

    struct SizeCase {
        double diameter;
        int side;
    };

    void PrintTo(const SizeCase& c, std::ostream* os) { *os << "D " << c.diameter; }

    class SolarSystemViewSize : public SolarSystemViewTest, public ::testing::WithParamInterface<SizeCase> { };

    TEST_P(SolarSystemViewSize, ReservesHalfAPlanetAroundTheSquare)
    {
        view.setDiameter(GetParam().diameter);
        EXPECT_EQ(view.sizeHint(), QSize(GetParam().side, GetParam().side));
        view.resize(view.sizeHint() + QSize(40, 20));
        // The Sun sits in the middle whatever room the widget gets.
        EXPECT_NEAR(view.bodyRect(SolarSystemObject::sun()).center().x(), view.width() / 2.0, 1e-9);
        EXPECT_NEAR(view.bodyRect(SolarSystemObject::sun()).center().y(), view.height() / 2.0, 1e-9);
    }

    // D plus a planet's picture (D/12, at least 8), rounded up.
    INSTANTIATE_TEST_SUITE_P(Table, SolarSystemViewSize,
        ::testing::Values(SizeCase { 400, 434 }, SizeCase { 300, 325 }, SizeCase { 135.2, 147 }, SizeCase { 80, 88 },
            SizeCase { 0, 8 }, SizeCase { -5, 8 }));

    enum class Target { mars, sun, emptyCorner, aboveSaturnInItsSquare };

    struct ClickCase {
        std::string name;
        bool sunCallback;
        bool planetCallback;
        Target target;
        std::vector<std::string> expected;
    };

    void PrintTo(const ClickCase& c, std::ostream* os) { *os << c.name; }

    class SolarSystemViewClicks : public SolarSystemViewTest, public ::testing::WithParamInterface<ClickCase> { };

    TEST_P(SolarSystemViewClicks, CallBackOnlyForAClickableBody)
    {
        const ClickCase& c = GetParam();
        std::vector<std::string> calls;
        if (c.sunCallback)
            view.setOnTapSun([&] { calls.push_back("sun"); });
        if (c.planetCallback)
            view.setOnTapPlanet([&](Planet p) { calls.emplace_back(rawValue(p)); });
        showView();

        QPointF point;
        switch (c.target) {
        case Target::mars:
            point = view.bodyRect(SolarSystemObject::planet(Planet::mars)).center();
            break;
        case Target::sun:
            point = view.bodyRect(SolarSystemObject::sun()).center();
            break;
        case Target::emptyCorner:
            point = QPointF(2, 2);
            break;
        case Target::aboveSaturnInItsSquare: {
            const QRectF saturn = view.bodyRect(SolarSystemObject::planet(Planet::saturn));
            point = QPointF(saturn.center().x(), saturn.top() - saturn.height() / 4);
            break;
        }
        }
        QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, point.toPoint());
        EXPECT_EQ(calls, c.expected);
    }

    INSTANTIATE_TEST_SUITE_P(Table, SolarSystemViewClicks,
        ::testing::Values(ClickCase { "Mars", true, true, Target::mars, { "mars" } },
            ClickCase { "Sun", true, true, Target::sun, { "sun" } },
            ClickCase { "MarsWithoutPlanetCallback", true, false, Target::mars, {} },
            ClickCase { "SunWithoutSunCallback", false, true, Target::sun, {} },
            ClickCase { "EmptySpace", true, true, Target::emptyCorner, {} },
            ClickCase { "AboveSaturnInItsSquare", true, true, Target::aboveSaturnInItsSquare, {} },
            ClickCase { "NoCallbacks", false, false, Target::mars, {} }),
        [](const ::testing::TestParamInfo<ClickCase>& info) { return info.param.name; });

    TEST_F(SolarSystemViewTest, ReleaseAwayFromThePressedBodyCancelsTheClick)
    {
        std::vector<Planet> calls;
        view.setOnTapPlanet([&](Planet p) { calls.push_back(p); });
        showView();
        const QPoint mars = view.bodyRect(SolarSystemObject::planet(Planet::mars)).center().toPoint();
        QTest::mousePress(&view, Qt::LeftButton, Qt::NoModifier, mars);
        QTest::mouseRelease(&view, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
        EXPECT_TRUE(calls.empty());
        QTest::mousePress(&view, Qt::LeftButton, Qt::NoModifier, mars);
        QTest::mouseRelease(&view, Qt::LeftButton, Qt::NoModifier, mars + QPoint(3, 3));
        EXPECT_EQ(calls, std::vector<Planet> { Planet::mars });
    }

    TEST_F(SolarSystemViewTest, TooltipsNameTheBodyInTheUsersLanguage)
    {
        showView();
        for (const char* language : { "en", "de" }) {
            setStringsLanguage(QString::fromLatin1(language));
            for (const SolarSystemObject body :
                { SolarSystemObject::sun(), SolarSystemObject::planet(Planet::earth) }) {
                const QPoint at = view.bodyRect(body).center().toPoint();
                QHelpEvent help(QEvent::ToolTip, at, view.mapToGlobal(at));
                QApplication::sendEvent(&view, &help);
                EXPECT_TRUE(help.isAccepted());
                EXPECT_EQ(QToolTip::text(), tr(body.localizationKey())) << language;
            }
        }
        EXPECT_EQ(QToolTip::text(), QStringLiteral("Erde"));
        QHelpEvent nowhere(QEvent::ToolTip, QPoint(2, 2), view.mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(&view, &nowhere);
        EXPECT_FALSE(nowhere.isAccepted());
    }

    struct AccessibleCase {
        std::string name;
        bool callbacks;
        bool pluto;
        bool innerOnly;
        int children;
    };

    void PrintTo(const AccessibleCase& c, std::ostream* os) { *os << c.name; }

    class SolarSystemViewAccessible : public SolarSystemViewTest,
                                      public ::testing::WithParamInterface<AccessibleCase> { };

    TEST_P(SolarSystemViewAccessible, EveryBodyIsNamedAndPressableWhenClickable)
    {
        const AccessibleCase& c = GetParam();
        std::vector<std::string> calls;
        if (c.callbacks) {
            view.setOnTapSun([&] { calls.push_back("sun"); });
            view.setOnTapPlanet([&](Planet p) { calls.emplace_back(rawValue(p)); });
        }
        view.setShowPluto(c.pluto);
        view.setShowOnlyInnerPlanets(c.innerOnly);
        showView();

        QAccessibleInterface* orrery = QAccessible::queryAccessibleInterface(&view);
        ASSERT_NE(orrery, nullptr);
        ASSERT_EQ(orrery->childCount(), c.children);
        const std::vector<SolarSystemObject> bodies = view.currentLayout().bodies();
        for (int i = 0; i < orrery->childCount(); ++i) {
            QAccessibleInterface* child = orrery->child(i);
            ASSERT_NE(child, nullptr);
            const SolarSystemObject body = bodies[static_cast<std::size_t>(i)];
            SCOPED_TRACE(std::string(body.localizationKey()));
            EXPECT_TRUE(child->isValid());
            EXPECT_EQ(child->text(QAccessible::Name), tr(body.localizationKey()));
            EXPECT_EQ(child->role(), c.callbacks ? QAccessible::Button : QAccessible::Graphic);
            EXPECT_EQ(child->parent(), orrery);
            EXPECT_EQ(orrery->indexOfChild(child), i);
            EXPECT_EQ(orrery->child(i), child); // the same interface every time
            const QRect onScreen = view.bodyRect(body).translated(view.mapToGlobal(QPointF(0, 0))).toAlignedRect();
            EXPECT_EQ(child->rect(), onScreen);
            EXPECT_EQ(orrery->childAt(onScreen.center().x(), onScreen.center().y()), child);

            QAccessibleActionInterface* action = child->actionInterface();
            if (c.callbacks) {
                ASSERT_NE(action, nullptr);
                EXPECT_EQ(action->actionNames(), QStringList { QAccessibleActionInterface::pressAction() });
                action->doAction(QAccessibleActionInterface::pressAction());
                ASSERT_FALSE(calls.empty());
                EXPECT_EQ(calls.back(), body.localizationKey());
            } else {
                EXPECT_EQ(action, nullptr);
            }
        }
        EXPECT_EQ(calls.size(), c.callbacks ? static_cast<std::size_t>(c.children) : 0u);
    }

    INSTANTIATE_TEST_SUITE_P(Table, SolarSystemViewAccessible,
        ::testing::Values(AccessibleCase { "Clickable", true, false, false, 9 },
            AccessibleCase { "PlainPictures", false, false, false, 9 },
            AccessibleCase { "WithPluto", true, true, false, 10 },
            AccessibleCase { "InnerOnly", false, true, true, 5 }),
        [](const ::testing::TestParamInfo<AccessibleCase>& info) { return info.param.name; });

    TEST_F(SolarSystemViewTest, AccessibleNamesFollowTheLanguageAndHiddenBodiesGoAway)
    {
        view.setShowPluto(true);
        QAccessibleInterface* orrery = QAccessible::queryAccessibleInterface(&view);
        setStringsLanguage(QStringLiteral("de"));
        EXPECT_EQ(orrery->child(0)->text(QAccessible::Name), QStringLiteral("Sonne"));
        EXPECT_EQ(orrery->child(3)->text(QAccessible::Name), QStringLiteral("Erde"));
        QAccessibleInterface* pluto = orrery->child(9);
        EXPECT_TRUE(pluto->isValid());
        view.setShowPluto(false);
        EXPECT_EQ(orrery->childCount(), 9);
        EXPECT_FALSE(pluto->isValid());
    }

    TEST_F(SolarSystemViewTest, PlanetsGlideLinearlyThroughEveryTurn)
    {
        showView();
        const double from = start2024;
        const double to = start2024 + 365 * day; // Mercury turns more than four times
        const OrreryLayout before = targetAt(from);
        const OrreryLayout after = targetAt(to);
        view.setDate(to, 500);
        ASSERT_TRUE(view.isAnimating());
        ASSERT_NE(animation(), nullptr);

        for (const int ms : { 0, 125, 250, 499 }) {
            animation()->setCurrentTime(ms);
            const double progress = ms / 500.0;
            for (std::size_t k = 0; k < after.rings.size(); ++k) {
                const OrrerySlot& shown = view.currentLayout().rings[k];
                const double sweep = after.rings[k].nu - before.rings[k].nu;
                const double expected = normalised(before.rings[k].phi + progress * sweep);
                EXPECT_NEAR(turnBetween(expected, shown.phi), 0.0, 1e-6) << rawValue(shown.planet) << " at " << ms;
            }
        }
        EXPECT_GT(after.slot(Planet::mercury)->nu - before.slot(Planet::mercury)->nu, 4 * 360.0);

        animation()->setCurrentTime(500);
        EXPECT_FALSE(view.isAnimating());
        for (std::size_t k = 0; k < after.rings.size(); ++k) {
            EXPECT_EQ(view.currentLayout().rings[k].phi, after.rings[k].phi);
            EXPECT_EQ(view.currentLayout().rings[k].centre, after.rings[k].centre);
        }
    }

    TEST_F(SolarSystemViewTest, ANewDateDuringAnAnimationStartsFromTheAngleOnScreen)
    {
        showView();
        const OrreryLayout first = targetAt(start2024);
        const OrreryLayout second = targetAt(start2024 + 40 * day);
        const OrreryLayout third = targetAt(start2024 + 100 * day);
        view.setDate(start2024 + 40 * day, 500);
        animation()->setCurrentTime(250);
        const OrreryLayout halfway = view.currentLayout();

        view.setDate(start2024 + 100 * day, 500);
        ASSERT_TRUE(view.isAnimating());
        for (std::size_t k = 0; k < halfway.rings.size(); ++k)
            EXPECT_EQ(view.currentLayout().rings[k].phi, halfway.rings[k].phi); // no jump
        animation()->setCurrentTime(250);
        for (std::size_t k = 0; k < third.rings.size(); ++k) {
            // Halfway from the shown angle (first + half the first sweep) to the third target.
            const double shownFromThird
                = (first.rings[k].nu - third.rings[k].nu) + 0.5 * (second.rings[k].nu - first.rings[k].nu);
            const double expected = normalised(third.rings[k].phi + 0.5 * shownFromThird);
            EXPECT_NEAR(turnBetween(expected, view.currentLayout().rings[k].phi), 0.0, 1e-6)
                << rawValue(third.rings[k].planet);
        }
    }

    TEST_F(SolarSystemViewTest, ADateThatMovesNoPlanetNeitherAnimatesNorRepaints)
    {
        showView();
        // Half-second ticks at normal speed: find one that leaves every angle in its quarter-degree step.
        double date = start2024;
        while (true) {
            const OrreryLayout a = targetAt(date);
            const OrreryLayout b = targetAt(date + 0.5);
            bool same = true;
            for (std::size_t k = 0; k < a.rings.size(); ++k)
                same = same && a.rings[k].nu == b.rings[k].nu;
            if (same)
                break;
            date += 0.5;
        }
        view.setDate(date);
        QCoreApplication::processEvents();
        PaintSpy spy(&view);
        view.setDate(date + 0.5, 500);
        EXPECT_FALSE(view.isAnimating());
        QCoreApplication::processEvents();
        EXPECT_EQ(spy.count, 0);
        EXPECT_EQ(view.inputs().date, date + 0.5);
    }

    TEST_F(SolarSystemViewTest, OnlyThePlanetsThatMoveAreRepainted)
    {
        showView();
        // The first half-second tick after 2024-01-01 that moves any planet moves only a few of them.
        double date = start2024;
        std::vector<std::size_t> moving;
        while (moving.empty()) {
            const OrreryLayout a = targetAt(date);
            const OrreryLayout b = targetAt(date + 0.5);
            for (std::size_t k = 0; k < a.rings.size(); ++k) {
                if (a.rings[k].nu != b.rings[k].nu)
                    moving.push_back(k);
            }
            if (moving.empty())
                date += 0.5;
        }
        view.setDate(date);
        QCoreApplication::processEvents();
        QRegion allowed;
        const OrreryLayout before = view.currentLayout();
        const OrreryLayout after = targetAt(date + 0.5);
        for (const std::size_t k : moving) {
            const QRectF moved = (before.rings[k].imageRect | after.rings[k].imageRect).translated(view.layoutOrigin());
            allowed += moved.adjusted(-4, -4, 4, 4).toAlignedRect();
        }
        PaintSpy spy(&view);
        view.setDate(date + 0.5, 500);
        ASSERT_TRUE(view.isAnimating());
        animation()->setCurrentTime(500);
        QCoreApplication::processEvents();
        ASSERT_GE(spy.count, 1);
        EXPECT_TRUE((spy.lastRegion - allowed).isEmpty());
        EXPECT_FALSE(spy.lastRegion.contains(view.bodyRect(SolarSystemObject::sun()).center().toPoint()));
    }

    TEST_F(SolarSystemViewTest, HidingEndsTheAnimationAtItsTarget)
    {
        showView();
        const OrreryLayout target = targetAt(start2024 + 50 * day);
        view.setDate(start2024 + 50 * day, 500);
        animation()->setCurrentTime(100);
        ASSERT_TRUE(view.isAnimating());
        view.hide();
        EXPECT_FALSE(view.isAnimating());
        for (std::size_t k = 0; k < target.rings.size(); ++k)
            EXPECT_EQ(view.currentLayout().rings[k].phi, target.rings[k].phi);
    }

    TEST_F(SolarSystemViewTest, WithoutDurationOrWhileHiddenPlanetsJump)
    {
        const OrreryLayout target = targetAt(start2024 + 10 * day);
        view.setDate(start2024 + 10 * day, 500); // not shown yet
        EXPECT_FALSE(view.isAnimating());
        EXPECT_EQ(view.currentLayout().rings.front().phi, target.rings.front().phi);
        showView();
        view.setDate(start2024 + 20 * day, 0);
        EXPECT_FALSE(view.isAnimating());
        EXPECT_EQ(view.currentLayout().rings.back().phi, targetAt(start2024 + 20 * day).rings.back().phi);
    }

    TEST_F(SolarSystemViewTest, ANonFiniteDateIsIgnored)
    {
        const OrreryLayout before = view.currentLayout();
        view.setDate(std::numeric_limits<double>::quiet_NaN(), 500);
        view.setDate(std::numeric_limits<double>::infinity());
        EXPECT_EQ(view.inputs().date, start2024);
        EXPECT_EQ(view.currentLayout().rings.front().phi, before.rings.front().phi);
    }

    TEST_F(SolarSystemViewTest, TogglingPlutoDuringAnAnimationKeepsThePlanetsGliding)
    {
        showView();
        view.setDate(start2024 + 30 * day, 500);
        animation()->setCurrentTime(250);
        const double marsHalfway = view.currentLayout().slot(Planet::mars)->phi;
        view.setShowPluto(true);
        EXPECT_TRUE(view.isAnimating());
        EXPECT_EQ(view.currentLayout().ringCount, 10);
        EXPECT_EQ(view.currentLayout().slot(Planet::mars)->phi, marsHalfway);
        EXPECT_EQ(
            view.currentLayout().slot(Planet::pluto)->phi, targetAt(start2024 + 30 * day).slot(Planet::pluto)->phi);
    }

} // namespace
} // namespace heliora
