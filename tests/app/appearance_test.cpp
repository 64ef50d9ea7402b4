#include "app/appearance.h"

#include <QCheckBox>
#include <QPainter>
#include <QPushButton>
#include <QStyleFactory>
#include <QStyleOption>

#include <gtest/gtest.h>

#include <memory>

namespace heliora {
namespace {

    // A push button or check box as the style draws it, with or without keyboard focus.
    QImage draw(QStyle& style, QStyle::ControlElement element, bool focused)
    {
        QCheckBox checkBox(QStringLiteral("Pluto"));
        QPushButton pushButton(QStringLiteral("Facts"));
        QAbstractButton& button = element == QStyle::CE_CheckBox ? static_cast<QAbstractButton&>(checkBox) : pushButton;
        QStyleOptionButton option;
        option.initFrom(&button);
        option.rect = QRect(0, 0, 120, 40);
        option.text = button.text();
        option.state |= QStyle::State_Enabled;
        option.state.setFlag(QStyle::State_HasFocus, focused);
        option.state.setFlag(QStyle::State_KeyboardFocusChange, focused);
        QImage image(120, 40, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::black);
        QPainter painter(&image);
        style.drawControl(element, &option, &painter, &button);
        return image;
    }

    class FocusFrame : public ::testing::TestWithParam<QStyle::ControlElement> { };

    TEST_P(FocusFrame, IsNotDrawnThoughPlainFusionDrawsIt)
    {
        HelioraStyle heliora;
        EXPECT_EQ(draw(heliora, GetParam(), true), draw(heliora, GetParam(), false));
        // Without Heliora's style the focus shows, so the equal pictures above mean something.
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
        EXPECT_NE(draw(*fusion, GetParam(), true), draw(*fusion, GetParam(), false));
    }

    INSTANTIATE_TEST_SUITE_P(Buttons, FocusFrame, ::testing::Values(QStyle::CE_PushButton, QStyle::CE_CheckBox),
        [](const auto& info) { return std::string(info.param == QStyle::CE_CheckBox ? "CheckBox" : "PushButton"); });

    // The extension buttons' icons come late, and the same as the base style's.
    TEST(HelioraStyle, BarExtensionIconsAreTheBaseStylesIcons)
    {
        HelioraStyle heliora;
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
        for (const auto which :
            { QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton }) {
            const QIcon late = heliora.standardIcon(which);
            const QIcon early = fusion->standardIcon(which);
            ASSERT_FALSE(late.isNull());
            EXPECT_EQ(late.availableSizes(), early.availableSizes());
            for (const qreal ratio : { 1.0, 2.0 })
                EXPECT_EQ(late.pixmap(QSize(16, 16), ratio).toImage(), early.pixmap(QSize(16, 16), ratio).toImage());
        }
    }

} // namespace
} // namespace heliora
