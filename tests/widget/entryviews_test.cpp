#include "widget/entryviews.h"
#include "widget/widgetbundle.h"

#include "settings/sharedsettings.h"
#include "support/scopedenv.h"
#include "views/solarsystemview.h"
#include "views/theme.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace heliora {
namespace {

    using widgetkit::TimelineEntry;
    using widgetkit::WidgetFamily;

    // Every test reads and writes the shared setting in a folder of its own.
    class EntryViews : public ::testing::Test {
    protected:
        QTemporaryDir folder;
        test::ScopedEnv env { { "XDG_CONFIG_HOME", folder.path().toUtf8().constData() } };
        HelioraWidgetBundle bundle { [] { return 1.7e9; } };

        const widgetkit::WidgetConfiguration& widget(const char* kind) const
        {
            return *widgetkit::findWidget(bundle, QString::fromLatin1(kind));
        }
        std::unique_ptr<QWidget> build(const char* kind, QSizeF size, double date = 1.7e9) const
        {
            const WidgetFamily family = size.height() > 300 ? WidgetFamily::large
                : size.width() > 300                        ? WidgetFamily::medium
                                                            : WidgetFamily::small;
            return std::unique_ptr<QWidget>(widget(kind).makeEntryView(TimelineEntry { date, size }, family));
        }
        static SolarSystemView* orreryOf(const QWidget& view)
        {
            return view.findChild<SolarSystemView*>(QStringLiteral("orrery"));
        }
        // The centre of the orrery's D × D square in view coordinates.
        static QPointF squareCentre(const SolarSystemView& orrery)
        {
            const double d = orrery.inputs().diameter;
            return QPointF(orrery.geometry().topLeft()) + orrery.layoutOrigin() + QPointF(d, d) / 2;
        }
    };

    struct GeometryCase {
        std::string name;
        const char* kind;
        QSizeF size;
        double diameter;
    };

    void PrintTo(const GeometryCase& c, std::ostream* os) { *os << c.name; }

    class EntryViewGeometry : public EntryViews, public ::testing::WithParamInterface<GeometryCase> { };

    // The orrery is a fixed share of the height, whatever the width; the view is the display size.
    TEST_P(EntryViewGeometry, OrreryFollowsTheHeightOnly)
    {
        const GeometryCase& c = GetParam();
        const auto view = build(c.kind, c.size);
        ASSERT_TRUE(view);
        EXPECT_EQ(view->size(), c.size.expandedTo(QSizeF(0, 0)).toSize()); // a negative length counts as 0
        const SolarSystemView* orrery = orreryOf(*view);
        ASSERT_TRUE(orrery);
        EXPECT_DOUBLE_EQ(orrery->inputs().diameter, c.diameter);
        EXPECT_EQ(orrery->inputs().date, 1.7e9);
        EXPECT_FALSE(orrery->inputs().showOnlyInnerPlanets);
        // Centred vertically always; the solar-system widget also horizontally (the rounding of the child's place
        // may move it by half a pixel).
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
            GeometryCase { "Large", "SolarSystemWidget", { 360, 379 }, 0.88 * 379 },
            GeometryCase { "WideSmall", "SolarSystemWidget", { 600, 169 }, 0.88 * 169 },
            GeometryCase { "NoHeight", "SolarSystemWidget", { 169, 0 }, 0 },
            GeometryCase { "NegativeHeight", "SolarSystemWidget", { 169, -50 }, 0 }),
        [](const auto& info) { return info.param.name; });

    // The list sits 22 to the right of the orrery's square, and the pair is centred across the widget.
    TEST_F(EntryViews, PlanetsListStandsBesideTheOrrery)
    {
        for (const double width : { 360.0, 500.0 }) {
            const auto view = build("PlanetsListWidget", { width, 169 });
            const SolarSystemView* orrery = orreryOf(*view);
            const QWidget* list = view->findChild<QWidget*>(QStringLiteral("planets_list"));
            ASSERT_TRUE(orrery && list);
            const double squareLeft = squareCentre(*orrery).x() - 135.2 / 2;
            const double squareRight = squareLeft + 135.2;
            EXPECT_NEAR(list->geometry().left() - squareRight, 22, 1.0) << width;
            EXPECT_NEAR(squareLeft, width - (list->geometry().right() + 1), 1.0) << width; // equal margins
            EXPECT_NEAR(list->geometry().center().y(), 169 / 2.0, 1.0);
        }
    }

    // Nothing in a widget can be clicked: the host handles clicks, and the orrery has no targets.
    TEST_F(EntryViews, HaveNoClickTargets)
    {
        for (const char* kind : { "PlanetsListWidget", "SolarSystemWidget" }) {
            const auto view = build(kind, { 360, 169 });
            const SolarSystemView* orrery = orreryOf(*view);
            ASSERT_TRUE(orrery);
            for (const SolarSystemObject& body : orrery->currentLayout().bodies())
                EXPECT_FALSE(orrery->isClickable(body)) << kind;
            EXPECT_TRUE(view->testAttribute(Qt::WA_TransparentForMouseEvents)) << kind;
        }
    }

    // Dark on black whatever the application's palette says: a light desktop theme does not reach the widget.
    TEST_F(EntryViews, StayDarkUnderALightApplicationPalette)
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

    // Pluto follows the shared setting as it is when each view is built: absent means off.
    TEST_F(EntryViews, ReadTheSharedSettingForEveryView)
    {
        auto rings = [this](const char* kind) {
            return orreryOf(*build(kind, { 360, 169 }))->currentLayout().ringCount;
        };
        EXPECT_EQ(rings("SolarSystemWidget"), 9);
        SharedSettings writer;
        ASSERT_TRUE(writer.setShowPluto(true));
        EXPECT_EQ(rings("SolarSystemWidget"), 10);
        EXPECT_EQ(rings("PlanetsListWidget"), 10);
        ASSERT_TRUE(writer.setShowPluto(false));
        EXPECT_EQ(rings("PlanetsListWidget"), 9);
    }

} // namespace
} // namespace heliora
