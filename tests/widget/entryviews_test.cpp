#include "widget/entryviews.h"
#include "widget/widgetbundle.h"

#include "support/rows.h"
#include "views/solarsystemview.h"
#include "views/theme.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace heliora {
namespace {

    using test::PrintTo;

    const HelioraWidgetBundle bundle { [] { return 1.7e9; } };

    std::unique_ptr<QWidget> build(const char* kind, QSizeF size)
    {
        const widgetkit::WidgetConfiguration* widget = widgetkit::findWidget(bundle, QString::fromLatin1(kind));
        return std::unique_ptr<QWidget>(
            widget->makeEntryView(widgetkit::TimelineEntry { 1.7e9, size }, widgetkit::WidgetFamily::small));
    }

    SolarSystemView* orreryOf(const QWidget& view)
    {
        return view.findChild<SolarSystemView*>(QStringLiteral("orrery"));
    }

    // The centre of the orrery's D × D square in view coordinates.
    QPointF squareCentre(const SolarSystemView& orrery)
    {
        const double d = orrery.inputs().diameter;
        return QPointF(orrery.geometry().topLeft()) + orrery.layoutOrigin() + QPointF(d, d) / 2;
    }

    struct GeometryCase {
        std::string name;
        const char* kind;
        QSizeF size;
        double diameter;
    };

    class EntryViewGeometry : public ::testing::TestWithParam<GeometryCase> { };

    // The orrery is a fixed share of the height, whatever the width, centred vertically (the solar-system widget's
    // also horizontally; the rounding of the child's place may move it by half a pixel); the view is the display
    // size, a negative length counting as 0. Nothing in it takes a click: the host handles clicks.
    TEST_P(EntryViewGeometry, OrreryFollowsTheHeightOnly)
    {
        const GeometryCase& c = GetParam();
        const auto view = build(c.kind, c.size);
        EXPECT_EQ(view->size(), c.size.expandedTo(QSizeF(0, 0)).toSize());
        EXPECT_TRUE(view->testAttribute(Qt::WA_TransparentForMouseEvents));
        const SolarSystemView* orrery = orreryOf(*view);
        ASSERT_TRUE(orrery);
        EXPECT_DOUBLE_EQ(orrery->inputs().diameter, c.diameter);
        EXPECT_EQ(orrery->inputs().date, 1.7e9);
        for (const SolarSystemObject& body : orrery->currentLayout().bodies())
            EXPECT_FALSE(orrery->isClickable(body));
        const QPointF centre = squareCentre(*orrery);
        EXPECT_NEAR(centre.y(), view->height() / 2.0, 0.5);
        if (std::string(c.kind) == "SolarSystemWidget") {
            EXPECT_NEAR(centre.x(), view->width() / 2.0, 0.5);
        }
    }

    INSTANTIATE_TEST_SUITE_P(Table, EntryViewGeometry,
        ::testing::Values(GeometryCase { "MediumList", "PlanetsListWidget", { 360, 169 }, 135.2 },
            GeometryCase { "WideList", "PlanetsListWidget", { 1000, 169 }, 135.2 },
            GeometryCase { "TallList", "PlanetsListWidget", { 360, 300 }, 240 },
            GeometryCase { "Small", "SolarSystemWidget", { 169, 169 }, 0.88 * 169 },
            GeometryCase { "WideLarge", "SolarSystemWidget", { 600, 379 }, 0.88 * 379 },
            GeometryCase { "NoHeight", "SolarSystemWidget", { 169, 0 }, 0 },
            GeometryCase { "NegativeHeight", "SolarSystemWidget", { 169, -50 }, 0 }),
        test::rowName);

    // The list sits 22 to the right of the orrery's square, and the pair is centred across the widget.
    TEST(EntryViews, PlanetsListStandsBesideTheOrrery)
    {
        for (const double width : { 360.0, 500.0 }) {
            const auto view = build("PlanetsListWidget", { width, 169 });
            const QWidget* list = view->findChild<QWidget*>(QStringLiteral("planets_list"));
            ASSERT_TRUE(list);
            const double squareLeft = squareCentre(*orreryOf(*view)).x() - 135.2 / 2;
            EXPECT_NEAR(list->geometry().left() - (squareLeft + 135.2), 22, 1.0) << width;
            EXPECT_NEAR(squareLeft, width - (list->geometry().right() + 1), 1.0) << width; // equal margins
            EXPECT_NEAR(list->geometry().center().y(), 169 / 2.0, 1.0);
        }
    }

    // Dark on black whatever the application's palette says: a light desktop theme does not reach the widget.
    TEST(EntryViews, StayDarkUnderALightApplicationPalette)
    {
        const QPalette saved = QApplication::palette();
        QPalette light = saved;
        light.setColor(QPalette::Window, Qt::white);
        light.setColor(QPalette::WindowText, Qt::black);
        QApplication::setPalette(light);
        const auto view = build("PlanetsListWidget", { 360, 169 });
        QImage image(360, 169, QImage::Format_ARGB32);
        image.fill(Qt::white);
        view->render(&image);
        QApplication::setPalette(saved);
        EXPECT_EQ(view->palette().color(QPalette::WindowText), darkPalette().color(QPalette::WindowText));
        EXPECT_EQ(image.pixelColor(2, 2), colors::field); // corners are black, not the light window colour
        EXPECT_EQ(image.pixelColor(357, 166), colors::field);
    }

} // namespace
} // namespace heliora
