#include "solarsystemview.h"

#include "scopedenv.h"
#include "stringtable.h"

#include <QAccessible>
#include <QApplication>
#include <QHelpEvent>
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

    class PaintCounter : public QObject {
    public:
        int count = 0;

    protected:
        bool eventFilter(QObject*, QEvent* event) override
        {
            count += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    };

    // How far apart two directions are, in degrees, (−180, 180].
    double turnBetween(double from, double to) { return std::remainder(to - from, 360.0); }

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

        // Every planet at its angle for the date, as the layout alone computes it.
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

    TEST_F(SolarSystemViewTest, ReservesHalfAPlanetAroundTheSquare)
    {
        // D plus a planet's picture (D/12, at least 8), rounded up; a bad diameter counts as 0.
        for (const auto& [d, side] : { std::pair { 400.0, 434 }, { 135.2, 147 }, { 80.0, 88 }, { -5.0, 8 } }) {
            view.setDiameter(d);
            EXPECT_EQ(view.sizeHint(), QSize(side, side)) << d;
            view.resize(view.sizeHint() + QSize(40, 20));
            // The Sun sits in the middle whatever room the widget gets.
            EXPECT_EQ(
                view.bodyRect(SolarSystemObject::sun()).center(), QPointF(view.width() / 2.0, view.height() / 2.0));
        }
    }

    enum class Target { mars, sun, emptyCorner, aboveSaturnInItsSquare, pressMarsReleaseElsewhere };

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

        const QRectF saturn = view.bodyRect(SolarSystemObject::planet(Planet::saturn));
        const QPoint press = c.target == Target::sun ? view.bodyRect(SolarSystemObject::sun()).center().toPoint()
            : c.target == Target::emptyCorner        ? QPoint(2, 2)
            : c.target == Target::aboveSaturnInItsSquare
            ? QPointF(saturn.center().x(), saturn.top() - saturn.height() / 4).toPoint()
            : view.bodyRect(SolarSystemObject::planet(Planet::mars)).center().toPoint();
        const QPoint release = c.target == Target::pressMarsReleaseElsewhere ? QPoint(2, 2) : press;
        QTest::mousePress(&view, Qt::LeftButton, Qt::NoModifier, press);
        QTest::mouseRelease(&view, Qt::LeftButton, Qt::NoModifier, release);
        EXPECT_EQ(calls, c.expected);
    }

    INSTANTIATE_TEST_SUITE_P(Table, SolarSystemViewClicks,
        ::testing::Values(ClickCase { "Mars", true, true, Target::mars, { "mars" } },
            ClickCase { "Sun", true, true, Target::sun, { "sun" } },
            ClickCase { "MarsWithoutPlanetCallback", true, false, Target::mars, {} },
            ClickCase { "SunWithoutSunCallback", false, true, Target::sun, {} },
            ClickCase { "EmptySpace", true, true, Target::emptyCorner, {} },
            ClickCase { "AboveSaturnInItsSquare", true, true, Target::aboveSaturnInItsSquare, {} },
            ClickCase { "PressMarsReleaseElsewhere", true, true, Target::pressMarsReleaseElsewhere, {} },
            ClickCase { "NoCallbacks", false, false, Target::mars, {} }),
        [](const ::testing::TestParamInfo<ClickCase>& info) { return info.param.name; });

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
            EXPECT_EQ(child->text(QAccessible::Name), tr(body.localizationKey()));
            EXPECT_EQ(child->role(), c.callbacks ? QAccessible::Button : QAccessible::Graphic);
            EXPECT_EQ(child->parent(), orrery);
            EXPECT_EQ(orrery->indexOfChild(child), i);
            EXPECT_EQ(orrery->child(i), child); // the same interface every time
            const QRect onScreen = view.bodyRect(body).translated(view.mapToGlobal(QPointF(0, 0))).toAlignedRect();
            EXPECT_EQ(child->rect(), onScreen);
            EXPECT_EQ(orrery->childAt(onScreen.center().x(), onScreen.center().y()), child);
            QAccessibleActionInterface* action = child->actionInterface();
            ASSERT_EQ(action != nullptr, c.callbacks);
            if (action) {
                EXPECT_EQ(action->actionNames(), QStringList { QAccessibleActionInterface::pressAction() });
                action->doAction(QAccessibleActionInterface::pressAction());
                ASSERT_FALSE(calls.empty());
                EXPECT_EQ(calls.back(), body.localizationKey());
            }
        }
        EXPECT_EQ(calls.size(), c.callbacks ? static_cast<std::size_t>(c.children) : 0u);
        // A body that leaves the orrery leaves its interface invalid.
        QAccessibleInterface* outermost = orrery->child(orrery->childCount() - 1);
        view.setShowOnlyInnerPlanets(true);
        EXPECT_EQ(orrery->childCount(), 5);
        EXPECT_FALSE(outermost->isValid());
    }

    INSTANTIATE_TEST_SUITE_P(Table, SolarSystemViewAccessible,
        ::testing::Values(AccessibleCase { "Clickable", true, false, 9 },
            AccessibleCase { "PlainPictures", false, false, 9 }, AccessibleCase { "WithPluto", true, true, 10 }),
        [](const ::testing::TestParamInfo<AccessibleCase>& info) { return info.param.name; });

    TEST_F(SolarSystemViewTest, PlanetsGlideLinearlyThroughEveryTurn)
    {
        showView();
        const OrreryLayout before = targetAt(start2024);
        const OrreryLayout after = targetAt(start2024 + 365 * day); // Mercury turns more than four times
        ASSERT_GT(after.slot(Planet::mercury)->nu - before.slot(Planet::mercury)->nu, 4 * 360.0);
        view.setDate(start2024 + 365 * day, 500);
        ASSERT_TRUE(view.isAnimating());
        for (const int ms : { 0, 125, 250, 499 }) {
            animation()->setCurrentTime(ms);
            for (std::size_t k = 0; k < after.rings.size(); ++k) {
                const double sweep = after.rings[k].nu - before.rings[k].nu;
                const double expected = before.rings[k].phi + ms / 500.0 * sweep;
                EXPECT_NEAR(turnBetween(expected, view.currentLayout().rings[k].phi), 0.0, 1e-6) << k << " at " << ms;
            }
        }
        animation()->setCurrentTime(500);
        EXPECT_FALSE(view.isAnimating());
        for (std::size_t k = 0; k < after.rings.size(); ++k)
            EXPECT_EQ(view.currentLayout().rings[k].centre, after.rings[k].centre);
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
        for (std::size_t k = 0; k < halfway.rings.size(); ++k)
            EXPECT_EQ(view.currentLayout().rings[k].phi, halfway.rings[k].phi); // no jump
        animation()->setCurrentTime(250);
        for (std::size_t k = 0; k < third.rings.size(); ++k) {
            // Halfway from the shown angle (the first plus half the first sweep) to the third.
            const double shown
                = (first.rings[k].nu - third.rings[k].nu) + 0.5 * (second.rings[k].nu - first.rings[k].nu);
            const double expected = third.rings[k].phi + 0.5 * shown;
            EXPECT_NEAR(turnBetween(expected, view.currentLayout().rings[k].phi), 0.0, 1e-6) << k;
        }
    }

    TEST_F(SolarSystemViewTest, ADateThatMovesNoPlanetNeitherAnimatesNorRepaints)
    {
        showView();
        // Half-second ticks at normal speed: find one that leaves every angle in its quarter-degree step.
        double date = start2024;
        const auto angles = [&](double at) {
            std::vector<double> nu;
            for (const OrrerySlot& slot : targetAt(at).rings)
                nu.push_back(slot.nu);
            return nu;
        };
        while (angles(date) != angles(date + 0.5))
            date += 0.5;
        view.setDate(date);
        QCoreApplication::processEvents();
        PaintCounter paints;
        view.installEventFilter(&paints);
        view.setDate(date + 0.5, 500);
        EXPECT_FALSE(view.isAnimating());
        QCoreApplication::processEvents();
        EXPECT_EQ(paints.count, 0);
        EXPECT_EQ(view.inputs().date, date + 0.5);
    }

    TEST_F(SolarSystemViewTest, PlanetsJumpWithoutDurationWhileHiddenAndWhenHidden)
    {
        const OrreryLayout tenDays = targetAt(start2024 + 10 * day);
        view.setDate(start2024 + 10 * day, 500); // not shown yet
        EXPECT_FALSE(view.isAnimating());
        EXPECT_EQ(view.currentLayout().rings.front().phi, tenDays.rings.front().phi);
        showView();
        view.setDate(start2024 + 20 * day, 0);
        EXPECT_FALSE(view.isAnimating());
        view.setDate(std::numeric_limits<double>::quiet_NaN(), 500); // ignored
        EXPECT_EQ(view.inputs().date, start2024 + 20 * day);

        const OrreryLayout fiftyDays = targetAt(start2024 + 50 * day);
        view.setDate(start2024 + 50 * day, 500);
        animation()->setCurrentTime(100);
        ASSERT_TRUE(view.isAnimating());
        view.hide();
        EXPECT_FALSE(view.isAnimating());
        for (std::size_t k = 0; k < fiftyDays.rings.size(); ++k)
            EXPECT_EQ(view.currentLayout().rings[k].phi, fiftyDays.rings[k].phi);
    }

} // namespace
} // namespace heliora
