#include "model/orbit.h"
#include "strings/stringtable.h"
#include "support/picturematch.h"
#include "support/scopedenv.h"
#include "views/orrerypainter.h"
#include "views/solarsystemview.h"
#include "views/theme.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QTest>
#include <QToolTip>
#include <QVariantAnimation>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace heliora {
namespace {

    constexpr double epochUtc = 946727935.0; // 2000-01-01T11:58:55Z
    constexpr double start2024 = 1704067200.0; // 2024-01-01T00:00:00Z
    constexpr double day = 86400;
    const double nan = std::nan("");

    // The rings of one orrery, from the examples the orrery is known by.
    struct RingCase {
        std::string name;
        OrreryInputs inputs;
        double sunSide;
        std::vector<double> ringDiameters; // innermost first; the planets follow their fixed order
        double planetSide, smallPlanetSide; // the 1/12 planets; Jupiter and Uranus, 1/14
    };

    void PrintTo(const RingCase& c, std::ostream* os) { *os << c.name; }

    class OrreryRings : public ::testing::TestWithParam<RingCase> { };

    TEST_P(OrreryRings, MatchTheKnownGeometry)
    {
        const RingCase& c = GetParam();
        const OrreryLayout layout = layoutOrrery(c.inputs, epochUtc);
        EXPECT_NEAR(layout.sunSquare.width(), c.sunSide, 1e-3);
        EXPECT_EQ(layout.sunSquare.center(), QPointF(1, 1) * c.ringDiameters.back() / 2); // C, the middle
        ASSERT_EQ(layout.rings.size(), c.ringDiameters.size());
        for (std::size_t k = 0; k < layout.rings.size(); ++k) {
            const OrrerySlot& slot = layout.rings[layout.rings.size() - 1 - k]; // drawn from the outermost in
            EXPECT_EQ(slot.planet, allPlanets[k]);
            EXPECT_NEAR(slot.ringDiameter, c.ringDiameters[k], 1e-3) << k;
            const bool small = slot.planet == Planet::jupiter || slot.planet == Planet::uranus;
            EXPECT_NEAR(slot.square.width(), small ? c.smallPlanetSide : c.planetSide, 1e-3) << k;
        }
    }

    // The Sun is half the innermost ring; no picture is below the minimum length, 8; a bad diameter counts as 0.
    INSTANTIATE_TEST_SUITE_P(Table, OrreryRings,
        ::testing::Values(RingCase { "D400", {}, 44.444,
                              { 88.889, 133.333, 177.778, 222.222, 266.667, 311.111, 355.556, 400 }, 33.333, 28.571 },
            RingCase { "D400Pluto", { .showPluto = true }, 40, { 80, 120, 160, 200, 240, 280, 320, 360, 400 }, 33.333,
                28.571 },
            RingCase { "D135_2", { .diameter = 135.2 }, 15.022,
                { 30.044, 45.067, 60.089, 75.111, 90.133, 105.156, 120.178, 135.2 }, 11.267, 9.657 },
            RingCase { "D80", { .diameter = 80 }, 8.889, { 17.778, 26.667, 35.556, 44.444, 53.333, 62.222, 71.111, 80 },
                8, 8 },
            RingCase { "InnerOnlyWinsOverPluto", { .showPluto = true, .showOnlyInnerPlanets = true }, 80,
                { 160, 240, 320, 400 }, 33.333, 28.571 },
            RingCase { "NaNDiameter", { .diameter = nan }, 8, std::vector<double>(8, 0.0), 8, 8 },
            RingCase { "NegativeDiameter", { .diameter = -400 }, 8, std::vector<double>(8, 0.0), 8, 8 }),
        [](const auto& info) { return info.param.name; });

    // The orrery painted on black, its D × D square's corner `offset` logical pixels past the margin: over an image
    // filled with black, or with the black field painted by the orrery itself over an image of another colour.
    QImage paint(const OrreryLayout& layout, qreal ratio, bool cacheRings, QPointF offset, bool paintsField = false)
    {
        QImage image(
            QSize(1, 1) * std::ceil((layout.bounds().width() + 1) * ratio), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(paintsField ? Qt::darkBlue : Qt::black);
        QPainter painter(&image);
        painter.translate(QPointF(layout.margin, layout.margin) + offset);
        OrreryPaintOptions options;
        options.cacheRings = cacheRings;
        if (paintsField)
            options.field = Qt::black;
        paintOrrery(painter, layout, options);
        painter.end();
        return image;
    }

    class OrreryPainting : public ::testing::TestWithParam<double> { };

    TEST_P(OrreryPainting, RingsAreOneLineOfGreyAndPicturesSitOnTheirRings)
    {
        const qreal ratio = GetParam();
        // The planets above and below the Sun by turns, touching no ring and no other picture; the rings right of
        // the Sun bare; the square's corner off the pixel grid.
        OrreryLayout layout = layoutOrrery({ .date = start2024 }, epochUtc);
        for (OrrerySlot& slot : layout.rings)
            placePlanet(slot, layout.centre, 0, (slot.index % 2 ? 90 : 270) - screenAngle(slot.planet, 0));
        const QPointF offset(0.37, 0.81);
        const QPointF c = (layout.centre + QPointF(layout.margin, layout.margin) + offset) * ratio; // device pixels
        const QImage image = paint(layout, ratio, false, offset);
        for (const OrrerySlot& slot : layout.rings) {
            // The ink of the line width 1 lies half a line inside the ring's radius.
            const double r = slot.ringRadius * ratio;
            double ink = 0, moment = 0;
            for (int x = static_cast<int>(c.x() + r - ratio - 2); x <= c.x() + r + 2; ++x) {
                const QColor pixel = image.pixelColor(x, static_cast<int>(c.y()));
                EXPECT_TRUE(pixel.red() == pixel.green() && pixel.red() == pixel.blue() && pixel.red() <= 65) << x;
                ink += pixel.red() / 64.0;
                moment += pixel.red() / 64.0 * (x + 0.5 - c.x());
            }
            EXPECT_NEAR(ink, ratio, 0.25) << slot.index;
            EXPECT_NEAR(moment / std::max(ink, 1e-9), r - ratio / 2, 0.2) << slot.index;
            // The planet's own raster, unblurred, on whole device pixels around C ± (0, r).
            const QRectF expected
                = slot.imageRect.translated((c + QPointF(0, slot.index % 2 ? -r : r)) / ratio - slot.centre);
            const auto [found, error] = test::findPicture(image, imageName(slot.planet), expected, ratio);
            EXPECT_LT(error, 2) << slot.index;
            EXPECT_LE((found - expected.center()).manhattanLength(), 1 / ratio) << slot.index;
        }
        EXPECT_TRUE(paint(layout, ratio, true, offset) == image) << "the cached ring layer changes pixels";
        EXPECT_TRUE(paint(layout, ratio, false, offset, true) == image) << "the field, rings stroked";
        EXPECT_TRUE(paint(layout, ratio, true, offset, true) == image) << "the field and rings in one layer";
    }

    INSTANTIATE_TEST_SUITE_P(DeviceRatios, OrreryPainting, ::testing::Values(1.0, 1.5, 2.0));

    class ViewTest : public ::testing::Test {
    protected:
        void SetUp() override { view.setDate(start2024); }
        void TearDown() override { setStringsLanguage(QStringLiteral("en")); }
        // Every planet at its angle for the date, as the layout alone computes it, and as shown.
        std::vector<OrrerySlot> targetAt(double date) const
        {
            OrreryInputs in = view.inputs();
            in.date = date;
            return layoutOrrery(in, epochUtc).rings;
        }
        const std::vector<OrrerySlot>& shown() const { return view.currentLayout().rings; }

        test::ScopedEnv env { { "TZ", "UTC" } };
        SolarSystemView view;
    };

    // What pointing at a spot gives, in German: the tooltip, the accessible body there and what a click calls back.
    struct SpotCase {
        std::string name;
        bool sunCallback, planetCallback;
        std::optional<SolarSystemObject> body;
        QPointF offset; // from the centre of the body's picture, in half-sides; without a body, a corner
        QString bodyName; // empty: no body is there
        std::vector<std::string> clicks; // what a click and then the accessible press call back
    };

    void PrintTo(const SpotCase& c, std::ostream* os) { *os << c.name; }

    class ViewSpots : public ViewTest, public ::testing::WithParamInterface<SpotCase> { };

    TEST_P(ViewSpots, NameTheBodyAndCallBackOnlyWhenClickable)
    {
        const SpotCase& c = GetParam();
        std::vector<std::string> calls;
        if (c.sunCallback)
            view.setOnTapSun([&] { calls.push_back("sun"); });
        if (c.planetCallback)
            view.setOnTapPlanet([&](Planet p) { calls.emplace_back(rawValue(p)); });
        setStringsLanguage(QStringLiteral("de"));
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        // D = 400, half a planet's picture (D/24) and the reach of the focus mark (4) on every side: every case
        // makes something clickable, so the orrery takes the focus.
        EXPECT_EQ(view.size(), QSize(442, 442));
        EXPECT_EQ(
            QAccessible::queryAccessibleInterface(&view)->text(QAccessible::Name), QStringLiteral("Sonnensystem"));
        const QRectF r = c.body ? view.bodyRect(*c.body) : QRectF(2, 2, 0, 0);
        const QPoint at = (r.center() + QPointF(c.offset.x() * r.width(), c.offset.y() * r.height()) / 2).toPoint();
        QHelpEvent help(QEvent::ToolTip, at, view.mapToGlobal(at));
        QApplication::sendEvent(&view, &help);
        EXPECT_EQ(QToolTip::text(), c.bodyName);
        EXPECT_EQ(help.isAccepted(), !c.bodyName.isEmpty()); // an empty spot leaves the tooltip to the parents
        const QPoint global = view.mapToGlobal(at);
        QAccessibleInterface* body = QAccessible::queryAccessibleInterface(&view)->childAt(global.x(), global.y());
        EXPECT_EQ(body ? body->text(QAccessible::Name) : QString(), c.bodyName);
        const bool clickable = c.body && (c.body->isSun() ? c.sunCallback : c.planetCallback);
        EXPECT_TRUE(!body || body->role() == (clickable ? QAccessible::Button : QAccessible::Graphic));
        QTest::mousePress(&view, Qt::LeftButton, {}, at);
        QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(2, 2)); // moved away: no click
        QTest::mouseClick(&view, Qt::LeftButton, {}, at);
        if (QAccessibleActionInterface* action = body ? body->actionInterface() : nullptr)
            action->doAction(QAccessibleActionInterface::pressAction()); // as a click does
        EXPECT_EQ(calls, c.clicks);
    }

    const auto mars = SolarSystemObject::planet(Planet::mars), saturn = SolarSystemObject::planet(Planet::saturn);

    // Saturn's picture is twice as wide as tall: its square's top quarter is not Saturn.
    INSTANTIATE_TEST_SUITE_P(Table, ViewSpots,
        ::testing::Values(SpotCase { "Mars", true, true, mars, {}, "Mars", { "mars", "mars" } },
            SpotCase { "MarsWithoutItsCallback", true, false, mars, {}, "Mars", {} },
            SpotCase { "Sun", true, true, SolarSystemObject::sun(), {}, "Sonne", { "sun", "sun" } },
            SpotCase { "SunWithoutItsCallback", false, true, SolarSystemObject::sun(), {}, "Sonne", {} },
            SpotCase { "EmptySpace", true, true, std::nullopt, {}, "", {} },
            SpotCase { "SaturnsRingTip", true, true, saturn, { 0.95, 0 }, "Saturn", { "saturn", "saturn" } },
            SpotCase { "AboveSaturnInItsSquare", true, true, saturn, { 0, -1.5 }, "", {} }),
        [](const auto& info) { return info.param.name; });

    // The keyboard in an orrery whose bodies are clickable, held by a window with the main window's keys: after the
    // window's activation, a few steps, each one a key for whatever has the focus, or "TabIn"/"BacktabIn" (Qt's
    // focus chain enters the orrery), "Click" (on an empty spot), "Leave" (another window becomes active), "Away"
    // (another window is active for a while), "Pluto"/"NoPluto" (the setting changes).
    struct KeyPathCase {
        std::string name;
        std::vector<std::string> steps;
        QString focused; // the body that has the focus, as assistive technologies see it; empty: none
        std::vector<std::string> opened; // what the bodies' callbacks were called with
        int windowKeys; // how often the window's Space, Left or Right fired
    };

    void PrintTo(const KeyPathCase& c, std::ostream* os) { *os << c.name; }

    class OrreryKeys : public ::testing::TestWithParam<KeyPathCase> {
    protected:
        OrreryKeys()
        {
            view->setPalette(blackFieldPalette(view->palette()));
            view->setAutoFillBackground(true);
            view->setDate(start2024);
            view->setOnTapSun([this] { opened.emplace_back("sun"); });
            view->setOnTapPlanet([this](Planet p) { opened.emplace_back(rawValue(p)); });
            auto* keys = new QAction(&window);
            keys->setShortcuts(
                { QKeySequence(Qt::Key_Space), QKeySequence(Qt::Key_Left), QKeySequence(Qt::Key_Right) });
            window.addAction(keys);
            QObject::connect(keys, &QAction::triggered, [this] { ++windowKeys; });
        }

        void activate(QWidget& w)
        {
            w.show();
            w.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        }

        test::ScopedEnv env { { "TZ", "UTC" } };
        QWidget window;
        SolarSystemView* view = new SolarSystemView(&window);
        std::vector<std::string> opened;
        int windowKeys = 0;
    };

    TEST_P(OrreryKeys, MoveBetweenTheBodiesOpenThemAndMarkTheFocusedOne)
    {
        const KeyPathCase& c = GetParam();
        ASSERT_EQ(view->focusPolicy(), Qt::TabFocus);
        activate(window);
        EXPECT_TRUE(view->hasFocus()) << "the window's activation focuses its only stop";
        QWidget other;
        const std::map<std::string, Qt::Key> keys { { "Tab", Qt::Key_Tab }, { "Backtab", Qt::Key_Backtab },
            { "Left", Qt::Key_Left }, { "Right", Qt::Key_Right }, { "Up", Qt::Key_Up }, { "Down", Qt::Key_Down },
            { "Return", Qt::Key_Return }, { "Space", Qt::Key_Space } };
        for (const std::string& step : c.steps) {
            if (keys.contains(step)) {
                QTest::keyClick(QApplication::focusWidget(), keys.at(step));
            } else if (step == "TabIn" || step == "BacktabIn") {
                view->clearFocus();
                view->setFocus(step == "TabIn" ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            } else if (step == "Click") {
                QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(2, 2));
            } else if (step == "Leave" || step == "Away") {
                activate(other);
                if (step == "Away")
                    activate(window);
            } else {
                view->setShowPluto(step == "Pluto");
            }
            QCoreApplication::processEvents();
        }
        QAccessibleInterface* body = QAccessible::queryAccessibleInterface(view)->focusChild();
        EXPECT_EQ(body ? body->text(QAccessible::Name) : QString(), c.focused);
        EXPECT_TRUE(!body || body->state().focused);
        EXPECT_EQ(opened, c.opened);
        EXPECT_EQ(windowKeys, c.windowKeys);

        // The mark: what sets the picture apart from a twin orrery that never had the focus, all of it around the
        // focused body; nothing without one.
        SolarSystemView twin;
        twin.setDate(start2024);
        twin.setShowPluto(view->inputs().showPluto);
        twin.setOnTapSun([] {});
        twin.resize(view->size());
        twin.setPalette(view->palette());
        twin.setAutoFillBackground(true);
        QRect around;
        for (const SolarSystemObject& shown : view->currentLayout().bodies()) {
            if (localizedName(shown) == c.focused)
                around = focusMarkRect(view->bodyRect(shown)).toAlignedRect();
        }
        const QImage marked = view->grab().toImage(), plain = twin.grab().toImage();
        ASSERT_EQ(marked.size(), plain.size());
        int inside = 0, outside = 0;
        for (int y = 0; y < plain.height(); ++y) {
            for (int x = 0; x < plain.width(); ++x) {
                if (marked.pixel(x, y) != plain.pixel(x, y))
                    ++(around.contains(x, y) ? inside : outside);
            }
        }
        EXPECT_EQ(outside, 0);
        EXPECT_EQ(inside > 20, !c.focused.isEmpty()) << inside << " pixels of a mark";
    }

    INSTANTIATE_TEST_SUITE_P(Table, OrreryKeys,
        ::testing::Values(KeyPathCase { "ActivationLeavesSpaceToTheWindow", { "Space" }, "", {}, 1 },
            KeyPathCase { "TabGoesInAtTheSun", { "Tab" }, "Sun", {}, 0 },
            KeyPathCase { "ArrowsFollowTheRings", { "Tab", "Right", "Down", "Right", "Left" }, "Venus", {}, 0 },
            KeyPathCase { "LeftFromTheSunGoesRoundToTheOutermost", { "Tab", "Left" }, "Neptune", {}, 0 },
            KeyPathCase { "FocusChainEntersAtEitherEnd", { "BacktabIn", "Up", "TabIn", "Up" }, "Neptune", {}, 0 },
            KeyPathCase { "ReturnAndSpaceOpenTheFocusedBody", { "Tab", "Right", "Return", "Space" }, "Mercury",
                { "mercury", "mercury" }, 0 },
            KeyPathCase {
                "TabAgainLeavesTheBodiesToTheWindow", { "Tab", "Tab", "Space", "Right", "Return" }, "", {}, 2 },
            KeyPathCase { "AClickEndsTheKeyboardsTurn", { "Tab", "Right", "Click", "Space" }, "", {}, 1 },
            KeyPathCase { "AnotherWindowTakesTheMark", { "Tab", "Right", "Leave" }, "", {}, 0 },
            KeyPathCase { "TheBodyComesBackWithTheWindow", { "Tab", "Right", "Away" }, "Mercury", {}, 0 },
            KeyPathCase {
                "AVanishingPlutoHandsTheFocusInwards", { "Pluto", "BacktabIn", "NoPluto" }, "Neptune", {}, 0 }),
        [](const auto& info) { return info.param.name; });

    struct PaintCounter : QObject {
        int count = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            count += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    };

    TEST_F(ViewTest, PlanetsGlideThroughEveryWholeTurnWhenTheyMoveWhileShown)
    {
        view.setDate(start2024 + 10 * day, 500); // not shown: a jump
        EXPECT_FALSE(view.isAnimating());
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        // A half-second tick at normal speed that leaves every angle in its quarter-degree step, and a date that is
        // not finite, neither animate nor repaint.
        double date = start2024 + 10 * day;
        while (!std::ranges::equal(targetAt(date), targetAt(date + 0.5), {}, &OrrerySlot::nu, &OrrerySlot::nu))
            date += 0.5;
        view.setDate(date);
        QCoreApplication::processEvents();
        PaintCounter paints;
        view.installEventFilter(&paints);
        view.setDate(date + 0.5, 500);
        view.setDate(nan, 500);
        EXPECT_FALSE(view.isAnimating());
        QCoreApplication::processEvents();
        EXPECT_EQ(paints.count, 0);

        const std::vector<OrrerySlot> before = shown(), after = targetAt(date + 365 * day);
        ASSERT_GT(after.back().nu - before.back().nu, 4 * 360.0); // Mercury turns more than four times
        view.setDate(date + 365 * day, 500);
        for (const int ms : { 0, 125, 250 }) {
            view.findChild<QVariantAnimation*>()->setCurrentTime(ms);
            for (std::size_t k = 0; k < after.size(); ++k) {
                const double expected = before[k].phi + ms / 500.0 * (after[k].nu - before[k].nu);
                EXPECT_NEAR(std::remainder(shown()[k].phi - expected, 360.0), 0.0, 1e-6) << k << " at " << ms;
            }
        }
        // A new date on the way starts from where the planets are shown; hiding puts them on its angles at once.
        const std::vector<OrrerySlot> halfway = shown(), end = targetAt(date + 400 * day);
        view.setDate(date + 400 * day, 500);
        for (std::size_t k = 0; k < end.size(); ++k)
            EXPECT_EQ(shown()[k].phi, halfway[k].phi) << k;
        view.hide();
        EXPECT_FALSE(view.isAnimating());
        for (std::size_t k = 0; k < end.size(); ++k)
            EXPECT_EQ(shown()[k].centre, end[k].centre) << k;
    }

    // Half-second ticks until Mercury has moved on twice, then a change of zone alone: after every one the planets
    // stand exactly where the orbital model puts them, though most ticks leave the view computing no angle at all.
    TEST_F(ViewTest, EveryTickLeavesThePlanetsWhereTheModelPutsThem)
    {
        const auto expectModel = [&](double date) {
            for (const OrrerySlot& slot : shown())
                ASSERT_EQ(slot.nu, orbitalAngle(slot.planet, date, presetPeriod, slot.ringRadius))
                    << indexOf(slot.planet) << " at " << date - start2024 << " s";
        };
        double date = start2024;
        int moves = 0;
        for (int step = 0; moves < 2 && step < 100'000; ++step) {
            const double before = shown().back().nu; // Mercury, the innermost
            date += 0.5;
            view.setDate(date);
            ASSERT_NO_FATAL_FAILURE(expectModel(date));
            moves += shown().back().nu != before ? 1 : 0;
        }
        EXPECT_EQ(moves, 2);
        env.set("TZ", "Asia/Tokyo");
        view.setDate(date);
        expectModel(date);
    }

    // The view repainted only where it asks to be, frame after frame of a top-speed glide and rectangle by rectangle,
    // leaves the same pixels as a full repaint of each frame: nothing of a planet's old place stays behind, and no
    // pixel of the dirty region is painted twice or missed, at any pixel ratio; nor of the focus mark around the
    // planet that has the keyboard's focus.
    class PartialRepaint : public ViewTest, public ::testing::WithParamInterface<std::tuple<double, bool, bool>> {
    protected:
        // The view's picture as a window's backing store holds it: `region` repainted over `base`, filled with the
        // field's black first unless the view paints its field itself.
        QImage render(QImage base, const QRegion& region)
        {
            base.setDevicePixelRatio(std::get<0>(GetParam()));
            view.render(&base, region.boundingRect().topLeft(), region);
            return base;
        }
    };

    int differingPixels(const QImage& a, const QImage& b)
    {
        if (a.size() != b.size())
            return -1;
        int count = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
        return count;
    }

    // The region's rectangles cut into bands of odd heights, at an offset that moves with the step: every repaint
    // goes through several rectangles, with edges that fall on fractions of a device pixel at 1.5. Every other band
    // reaches a pixel further left, or the region would join the bands again; repainting that pixel more is harmless.
    QRegion inBands(const QRegion& region, int step)
    {
        QRegion bands;
        const int height = 11 + step % 5;
        for (const QRect& rect : region) {
            int k = 0;
            for (int y = rect.top() - step % height; y <= rect.bottom(); y += height, ++k)
                bands += QRect(rect.left() - k % 2, y, rect.width() + k % 2, height) & rect.adjusted(-1, 0, 0, 0);
        }
        return bands;
    }

    struct RegionRecorder : QObject {
        QRegion region;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                region += static_cast<QPaintEvent*>(event)->region();
            return false;
        }
    };

    TEST_P(PartialRepaint, LeavesTheFullRepaintsPixels)
    {
        const auto [ratio, focused, paintsField] = GetParam();
        view.setPalette(blackFieldPalette(view.palette()));
        view.setPaintsField(paintsField);
        view.setShowPluto(true);
        if (focused) {
            view.setOnTapSun([] {});
            view.setOnTapPlanet([](Planet) {});
        }
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        if (focused) {
            // Mercury, the fastest, with the keyboard's focus: Tab puts it on the Sun, Right on Mercury.
            view.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
            view.clearFocus(); // the window's activation gave it the focus, but no body
            view.setFocus(Qt::TabFocusReason);
            QTest::keyClick(&view, Qt::Key_Right);
            QAccessibleInterface* body = QAccessible::queryAccessibleInterface(&view)->focusChild();
            ASSERT_EQ(body ? body->text(QAccessible::Name) : QString(), QStringLiteral("Mercury"));
        }
        auto* animation = view.findChild<QVariantAnimation*>();
        QImage blank(view.size() * ratio, QImage::Format_RGB32);
        blank.fill(Qt::darkBlue); // not the field's black: a pixel that is never painted shows
        QImage shown = render(blank, view.rect());
        RegionRecorder recorder;
        view.installEventFilter(&recorder);
        double date = start2024;
        int steps = 0, changed = 0, split = 0;
        for (int tick = 0; tick < 4; ++tick) {
            date += 5e7; // one tick at 10^8 x: Mercury turns about six and a half times
            view.setDate(date, 500);
            animation->pause(); // stepped by hand below, not by the clock
            for (int ms = 50; ms <= 500; ms += 50, ++steps) {
                QCoreApplication::processEvents();
                recorder.region = {};
                animation->setCurrentTime(ms);
                // Painted at once, not queued for another round of the event loop.
                ASSERT_FALSE(recorder.region.isEmpty()) << steps;
                QCoreApplication::processEvents();
                const QRegion dirty = inBands(recorder.region, steps);
                split += dirty.rectCount() > 1 ? 1 : 0;
                const QImage partial = render(shown, dirty);
                changed += partial != shown ? 1 : 0;
                shown = partial;
                const QImage full = render(blank, view.rect());
                ASSERT_TRUE(shown == full) << differingPixels(shown, full) << " pixels differ at step " << steps
                                           << ", repainted in " << dirty.rectCount() << " rectangles";
            }
        }
        EXPECT_EQ(steps, 40);
        EXPECT_EQ(changed, steps); // every step moved something
        EXPECT_EQ(split, steps); // through several rectangles
    }

    INSTANTIATE_TEST_SUITE_P(DeviceRatios, PartialRepaint,
        ::testing::Combine(::testing::Values(1.0, 1.5, 2.0), ::testing::Bool(), ::testing::Bool()));

} // namespace
} // namespace heliora
