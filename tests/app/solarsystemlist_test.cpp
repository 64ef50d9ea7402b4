#include "solarsystemlistview.h"

#include "detailwindowcontroller.h"
#include "solarsystemobjectdetailview.h"
#include "widgettestenvironment.h"

#include <QApplication>
#include <QPushButton>

#include <gtest/gtest.h>

namespace heliora {
namespace {

    class BodiesList : public ::testing::TestWithParam<SolarSystemObject> {
    protected:
        void TearDown() override { deleteOpenDetailWindows(); }
    };

    TEST_P(BodiesList, ButtonOpensAWindowOfTheBodysFactsEachTime)
    {
        const SolarSystemListView list;
        const auto* row = list.findChild<QWidget*>(QString::fromUtf8(GetParam().localizationKey().data()));
        ASSERT_NE(row, nullptr);
        auto* button = row->findChild<QPushButton*>(QStringLiteral("open_fact_sheet"));
        ASSERT_NE(button, nullptr);
        button->click();
        button->click();
        std::vector<DetailWindowController*> windows;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* window = qobject_cast<DetailWindowController*>(widget))
                windows.push_back(window);
        }
        ASSERT_EQ(windows.size(), 2u);
        for (DetailWindowController* window : windows) {
            EXPECT_EQ(window->windowTitle(), localizedName(GetParam()));
            EXPECT_EQ(qobject_cast<SolarSystemObjectDetailView*>(window->rootView())->object(), GetParam());
        }
    }

    INSTANTIATE_TEST_SUITE_P(Bodies, BodiesList,
        ::testing::ValuesIn(allSolarSystemObjects().begin(), allSolarSystemObjects().end()),
        [](const auto& info) { return std::string(info.param.localizationKey()); });

} // namespace
} // namespace heliora
