// The lists of bodies and the planets-list widget preview.

#include "settings/sharedsettings.h"
#include "strings/stringtable.h"
#include "support/accessibletree.h"
#include "support/scopedenv.h"
#include "views/planetslist.h"
#include "views/planetslistwidgetview.h"
#include "views/solarsystemlistview.h"
#include "views/solarsystemview.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QPainterPath>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace heliora {
namespace {

    constexpr double start2024 = 1704067200.0; // 2024-01-01T00:00:00Z

    /// The rows of a PlanetsList by column, each column top to bottom, after layout.
    std::vector<QStringList> columns(const PlanetsList& list)
    {
        std::map<int, std::map<int, QString>> byX;
        for (const PlanetsListRow* row : list.findChildren<PlanetsListRow*>())
            byX[row->x()][row->y()] = row->objectName();
        std::vector<QStringList> result;
        for (const auto& [x, byY] : byX) {
            result.emplace_back();
            for (const auto& [y, name] : byY)
                result.back().append(name);
        }
        return result;
    }

    TEST(PlanetsList, TwoColumnsOfTheEightPlanetsAndNeverPluto)
    {
        ASSERT_NE(qApp, nullptr);
        PlanetsList list;
        list.adjustSize();
        EXPECT_EQ(columns(list),
            (std::vector<QStringList> {
                { "mercury", "venus", "earth", "mars" }, { "jupiter", "saturn", "uranus", "neptune" } }));
    }

    struct Section {
        const char* header; // object name and key of the header; null for the Sun's section
        QStringList rows;
    };

    TEST(SolarSystemList, FiveSectionsInOrderWithHeadersAsWritten)
    {
        const SolarSystemListView list({});
        const std::vector<Section> expected {
            { nullptr, { "sun" } },
            { "terrestrial_planets", { "mercury", "venus", "earth", "mars" } },
            { "gas_giants", { "jupiter", "saturn" } },
            { "ice_giants", { "uranus", "neptune" } },
            { "dwarf_planets", { "pluto" } },
        };
        QWidget* content = list.widget();
        ASSERT_NE(content, nullptr);
        QLayout* layout = content->layout();
        // Walk the list's column: a header (or the Sun's empty gap) before each section.
        int item = 0;
        for (std::size_t s = 0; s < expected.size(); ++s) {
            SCOPED_TRACE(s);
            QWidget* header = layout->itemAt(item++)->widget();
            if (expected[s].header) {
                auto* label = qobject_cast<QLabel*>(header);
                ASSERT_NE(label, nullptr);
                EXPECT_EQ(label->objectName(), QLatin1String(expected[s].header));
                EXPECT_EQ(label->text(), text(expected[s].header)); // not upper-cased
            } else {
                EXPECT_EQ(header, nullptr) << "the Sun's section has a header widget";
            }
            auto* section = layout->itemAt(item++)->widget();
            ASSERT_NE(section, nullptr);
            EXPECT_EQ(section->objectName(), QStringLiteral("section_%1").arg(s));
            QStringList rows;
            for (QWidget* row : section->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                rows.append(row->objectName());
            EXPECT_EQ(rows, expected[s].rows);
        }
    }

    TEST(SolarSystemList, TheSunsSectionOffersNothingBeforeItToAssistiveTechnologies)
    {
        SolarSystemListView list({});
        QWidget* content = list.widget();
        QAccessibleInterface* pane = QAccessible::queryAccessibleInterface(content);
        ASSERT_NE(pane, nullptr);
        ASSERT_GT(pane->childCount(), 0);
        EXPECT_EQ(pane->child(0)->object()->objectName(), QStringLiteral("section_0"));
        EXPECT_EQ(pane->child(1)->object()->objectName(), QStringLiteral("terrestrial_planets"));
    }

    /// A preview with "now" counted, on a settings file of its own.
    class WidgetPreviewTest : public ::testing::Test {
    protected:
        QTemporaryDir config;
        test::ScopedEnv env { { "XDG_CONFIG_HOME", qPrintable(config.path()) } };
        int builds = 0;
        PlanetsListWidgetView view { [this] { return start2024 + 86400.0 * builds++; } };
        QWidget& preview() { return *view.findChild<QWidget*>(QStringLiteral("preview")); }
        SolarSystemView& orrery() { return *view.findChild<SolarSystemView*>(QStringLiteral("orrery")); }
    };

    // Built once, at the date of building, without click targets; rebuilt (and the date read again) when the
    // Pluto setting changes, while the list beside it never shows Pluto.
    TEST_F(WidgetPreviewTest, FollowsThePlutoSettingButNeverTicks)
    {
        EXPECT_EQ(orrery().inputs().date, start2024);
        EXPECT_FALSE(orrery().isClickable(SolarSystemObject::sun()));
        EXPECT_FALSE(orrery().isClickable(SolarSystemObject::planet(Planet::mars)));
        EXPECT_EQ(orrery().currentLayout().ringCount, 9);

        SharedSettings settings;
        ASSERT_TRUE(settings.setShowPluto(true));
        EXPECT_EQ(orrery().currentLayout().ringCount, 10);
        EXPECT_EQ(orrery().inputs().date, start2024 + 86400.0);
        const auto* list = view.findChild<PlanetsList*>(QStringLiteral("planets_list"));
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->findChildren<PlanetsListRow*>().size(), 8);
        EXPECT_EQ(list->findChild<QWidget*>(QStringLiteral("pluto")), nullptr);
        ASSERT_TRUE(settings.setShowPluto(false));
        EXPECT_EQ(orrery().currentLayout().ringCount, 9);
    }

    TEST_F(WidgetPreviewTest, IsHiddenFromAssistiveTechnologies)
    {
        const QList<QObject*> seen = test::accessibleObjects(&view);
        EXPECT_TRUE(seen.contains(view.findChild<QLabel*>(QStringLiteral("invitation")))) << "the walk sees nothing";
        EXPECT_FALSE(seen.contains(&preview()));
        EXPECT_FALSE(seen.contains(&orrery()));
        for (QObject* object : seen)
            EXPECT_FALSE(qobject_cast<PlanetsListRow*>(object)) << object->objectName().toStdString();
    }

    TEST_F(WidgetPreviewTest, ContentStaysInsideTheRoundedBlackField)
    {
        view.show(); // lays the list out
        QPainterPath shape;
        shape.addRoundedRect(QRectF(preview().rect()), WidgetPreview::cornerRadius, WidgetPreview::cornerRadius);
        // Everything the orrery can draw, whatever the angles, and the list.
        const QRectF orreryBounds
            = orrery().currentLayout().bounds().translated(orrery().layoutOrigin() + QPointF(orrery().pos()));
        EXPECT_TRUE(shape.contains(orreryBounds)) << "the orrery reaches a rounded corner";
        const auto* list = view.findChild<PlanetsList*>(QStringLiteral("planets_list"));
        EXPECT_TRUE(shape.contains(QRectF(list->geometry())));
        EXPECT_NEAR(list->x() - (orrery().pos().x() + orrery().layoutOrigin().x() + 135.2), 22, 1);

        // Rendered: corners left clear, the black field, and the faint white outline on the edge.
        QImage image(preview().size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        preview().render(&image, {}, {}, QWidget::DrawChildren);
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(359, 168)), 0);
        EXPECT_EQ(image.pixel(30, 150), qRgb(0, 0, 0));
        const QRgb edge = image.pixel(180, 0);
        EXPECT_NEAR(qRed(edge), 0.2 * 255, 3);
        EXPECT_EQ(qAlpha(edge), 255);
    }

} // namespace
} // namespace heliora
