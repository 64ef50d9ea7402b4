#include "solarsystemlistview.h"

#include "detailwindowcontroller.h"
#include "solarsystemobjectdetailview.h"
#include "widgettestenvironment.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <algorithm>

namespace heliora {
namespace {

    std::vector<DetailWindowController*> openWindows()
    {
        std::vector<DetailWindowController*> windows;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* window = qobject_cast<DetailWindowController*>(widget))
                windows.push_back(window);
        }
        return windows;
    }

    QPushButton* buttonOf(const SolarSystemListView& list, const SolarSystemObject& object)
    {
        const auto* row = list.findChild<QWidget*>(QString::fromUtf8(object.localizationKey().data()));
        return row ? row->findChild<QPushButton*>(QStringLiteral("open_fact_sheet")) : nullptr;
    }

    class BodiesList : public ::testing::TestWithParam<SolarSystemObject> {
    protected:
        void TearDown() override { deleteOpenDetailWindows(); }
    };

    TEST_P(BodiesList, ButtonOpensTheBodysFactWindow)
    {
        const SolarSystemListView list;
        QPushButton* button = buttonOf(list, GetParam());
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->accessibleDescription(), localizedName(GetParam()));
        button->click();
        const std::vector<DetailWindowController*> windows = openWindows();
        ASSERT_EQ(windows.size(), 1u);
        EXPECT_EQ(windows.front()->windowTitle(), localizedName(GetParam()));
        const auto* view = qobject_cast<SolarSystemObjectDetailView*>(windows.front()->rootView());
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->object(), GetParam());
    }

    INSTANTIATE_TEST_SUITE_P(Bodies, BodiesList,
        ::testing::ValuesIn(allSolarSystemObjects().begin(), allSolarSystemObjects().end()),
        [](const auto& info) { return std::string(info.param.localizationKey()); });

    TEST(BodiesListLayout, PressingTheSunTwiceOpensTwoWindows)
    {
        const SolarSystemListView list;
        buttonOf(list, SolarSystemObject::sun())->click();
        buttonOf(list, SolarSystemObject::sun())->click();
        EXPECT_EQ(openWindows().size(), 2u);
        deleteOpenDetailWindows();
    }

    TEST(BodiesListLayout, RowsSitWhereScriptsExpectThem)
    {
        // Scripts click a row's button at a place computed from the fixed metrics: the sections hold 1, 4, 2, 2
        // and 1 bodies, each under a header.
        SolarSystemListView list;
        list.resize(400, 600);
        list.show();
        const int sizes[] = { 1, 4, 2, 2, 1 };
        int top = SolarSystemListView::margin;
        auto bodies = allSolarSystemObjects().begin();
        for (int size : sizes) {
            top += SolarSystemListView::headerHeight;
            for (int i = 0; i < size; ++i, ++bodies) {
                QPushButton* button = buttonOf(list, *bodies);
                ASSERT_NE(button, nullptr);
                const QPoint centre = button->mapTo(&list, button->rect().center());
                EXPECT_NEAR(centre.y(), top + SolarSystemListView::rowHeight / 2, 1) << bodies->localizationKey();
                // A click 30 pixels in from the margin lands on the button.
                const QPoint click(400 - SolarSystemListView::margin - 30, centre.y());
                EXPECT_EQ(list.childAt(click), button) << bodies->localizationKey();
                top += SolarSystemListView::rowHeight;
            }
        }
    }

    TEST(BodiesListLayout, SectionHeadersKeepTheirCase)
    {
        const test::ScopedLanguage german("de_DE.UTF-8");
        const SolarSystemListView list;
        QStringList headers;
        for (const QLabel* label : list.findChildren<QLabel*>()) {
            if (label->parentWidget() == &list)
                headers.append(label->text());
        }
        EXPECT_EQ(headers,
            (QStringList { QStringLiteral("Gesteinsplaneten"), QStringLiteral("Gasriesen"), QStringLiteral("Eisriesen"),
                QStringLiteral("Zwergplaneten") }));
    }

} // namespace
} // namespace heliora
