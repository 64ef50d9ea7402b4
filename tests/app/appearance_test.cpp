#include "appearance.h"

#include <QApplication>
#include <QCheckBox>
#include <QPainter>
#include <QPushButton>
#include <QStyleFactory>
#include <QStyleOption>

#include <gtest/gtest.h>

#include <memory>

namespace heliora {
namespace {

    struct FocusCase {
        const char* name;
        QStyle::ControlElement element;
    };

    void PrintTo(const FocusCase& c, std::ostream* os) { *os << c.name; }

    // A push button or check box as the style draws it, with or without keyboard focus.
    QImage draw(QStyle& style, const FocusCase& c, bool focused)
    {
        std::unique_ptr<QAbstractButton> button;
        if (c.element == QStyle::CE_CheckBox)
            button = std::make_unique<QCheckBox>(QStringLiteral("Pluto"));
        else
            button = std::make_unique<QPushButton>(QStringLiteral("Facts"));
        QStyleOptionButton option;
        option.initFrom(button.get());
        option.rect = QRect(0, 0, 120, 40);
        option.text = button->text();
        option.state |= QStyle::State_Enabled;
        option.state.setFlag(QStyle::State_HasFocus, focused);
        option.state.setFlag(QStyle::State_KeyboardFocusChange, focused);
        QImage image(120, 40, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::black);
        QPainter painter(&image);
        style.drawControl(c.element, &option, &painter, button.get());
        return image;
    }

    class FocusFrame : public ::testing::TestWithParam<FocusCase> { };

    TEST_P(FocusFrame, IsNotDrawnThoughPlainFusionDrawsIt)
    {
        HelioraStyle heliora;
        EXPECT_EQ(draw(heliora, GetParam(), true), draw(heliora, GetParam(), false));
        // Without Heliora's style the focus shows, so the equal pictures above mean something.
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
        EXPECT_NE(draw(*fusion, GetParam(), true), draw(*fusion, GetParam(), false));
    }

    INSTANTIATE_TEST_SUITE_P(Buttons, FocusFrame,
        ::testing::Values(
            FocusCase { "push_button", QStyle::CE_PushButton }, FocusCase { "check_box", QStyle::CE_CheckBox }),
        [](const auto& info) { return std::string(info.param.name); });

    TEST(Appearance, IsDarkWhateverThePaletteBefore)
    {
        QPalette light;
        light.setColor(QPalette::Window, Qt::white);
        light.setColor(QPalette::WindowText, Qt::black);
        QApplication::setPalette(light);
        applyDarkAppearance(*qApp);
        const QPalette palette = QWidget().palette();
        for (QPalette::ColorRole background : { QPalette::Window, QPalette::Base, QPalette::Button })
            EXPECT_LT(palette.color(background).lightnessF(), 0.25) << background;
        for (QPalette::ColorRole text : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
            EXPECT_GT(palette.color(text).lightnessF(), 0.8) << text;
        const auto* style = qobject_cast<QProxyStyle*>(QApplication::style());
        ASSERT_NE(style, nullptr);
        EXPECT_EQ(style->baseStyle()->name().toLower(), QStringLiteral("fusion"));
    }

} // namespace
} // namespace heliora
