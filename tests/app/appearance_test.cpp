#include "appearance.h"

#include <QApplication>
#include <QCheckBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOption>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace heliora {
namespace {

    // One kind of button, drawn by a style as it would draw it with or without keyboard focus.
    struct FocusCase {
        const char* name;
        std::function<QImage(QStyle&, bool focused)> draw;
    };

    void PrintTo(const FocusCase& c, std::ostream* os) { *os << c.name; }

    QImage canvas()
    {
        QImage image(120, 40, QImage::Format_ARGB32_Premultiplied);
        image.fill(QColor(30, 30, 30));
        return image;
    }

    template <typename Button, typename Option>
    QImage drawButton(QStyle& style, bool focused, QStyle::ControlElement element)
    {
        Button button;
        button.setText(QStringLiteral("Facts"));
        button.resize(120, 40);
        Option option;
        option.initFrom(&button);
        option.rect = QRect(0, 0, 120, 40);
        option.text = button.text();
        option.state |= QStyle::State_Enabled;
        if (focused)
            option.state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
        else
            option.state &= ~QStyle::State_HasFocus;
        QImage image = canvas();
        QPainter painter(&image);
        style.drawControl(element, &option, &painter, &button);
        return image;
    }

    QImage drawToolButton(QStyle& style, bool focused)
    {
        QToolButton button;
        button.setText(QStringLiteral("Facts"));
        QStyleOptionToolButton option;
        option.initFrom(&button);
        option.rect = QRect(0, 0, 120, 40);
        option.text = button.text();
        option.toolButtonStyle = Qt::ToolButtonTextOnly;
        option.subControls = QStyle::SC_ToolButton;
        option.state |= QStyle::State_Enabled | QStyle::State_Raised | QStyle::State_AutoRaise;
        if (focused)
            option.state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
        else
            option.state &= ~QStyle::State_HasFocus;
        QImage image = canvas();
        QPainter painter(&image);
        style.drawComplexControl(QStyle::CC_ToolButton, &option, &painter, &button);
        return image;
    }

    class FocusFrame : public ::testing::TestWithParam<FocusCase> { };

    TEST_P(FocusFrame, IsNotDrawnOnButtons)
    {
        HelioraStyle style;
        EXPECT_EQ(GetParam().draw(style, true), GetParam().draw(style, false));
    }

    TEST_P(FocusFrame, WouldBeDrawnByPlainFusion)
    {
        // Guards the test above: without Heliora's style the focus does show, so equal pictures mean something.
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
        EXPECT_NE(GetParam().draw(*fusion, true), GetParam().draw(*fusion, false));
    }

    INSTANTIATE_TEST_SUITE_P(Buttons, FocusFrame,
        ::testing::Values(FocusCase { "push_button",
                              [](QStyle& s, bool f) {
                                  return drawButton<QPushButton, QStyleOptionButton>(s, f, QStyle::CE_PushButton);
                              } },
            FocusCase { "check_box",
                [](QStyle& s, bool f) {
                    return drawButton<QCheckBox, QStyleOptionButton>(s, f, QStyle::CE_CheckBox);
                } },
            FocusCase { "radio_button",
                [](QStyle& s, bool f) {
                    return drawButton<QRadioButton, QStyleOptionButton>(s, f, QStyle::CE_RadioButton);
                } },
            FocusCase { "tool_button", drawToolButton }),
        [](const auto& info) { return std::string(info.param.name); });

    TEST(Appearance, IsDarkWhateverThePaletteBefore)
    {
        QPalette light;
        light.setColor(QPalette::Window, Qt::white);
        light.setColor(QPalette::WindowText, Qt::black);
        QApplication::setPalette(light);
        applyDarkAppearance(*qApp);
        QWidget widget;
        EXPECT_LT(widget.palette().color(QPalette::Window).lightnessF(), 0.2);
        EXPECT_GT(widget.palette().color(QPalette::WindowText).lightnessF(), 0.8);
        EXPECT_LT(widget.palette().color(QPalette::Base).lightnessF(), 0.2);
        EXPECT_GT(widget.palette().color(QPalette::ButtonText).lightnessF(), 0.8);
        // Disabled texts stay readable but step back.
        const QColor disabled = widget.palette().color(QPalette::Disabled, QPalette::WindowText);
        EXPECT_LT(disabled.lightnessF(), widget.palette().color(QPalette::WindowText).lightnessF());
        EXPECT_GT(disabled.lightnessF(), widget.palette().color(QPalette::Window).lightnessF());
        const auto* style = qobject_cast<QProxyStyle*>(QApplication::style());
        ASSERT_NE(style, nullptr);
        EXPECT_EQ(style->baseStyle()->name().toLower(), QStringLiteral("fusion"));
    }

    // The slim scroll bar: no arrow buttons, a thumb in proportion to the visible part.
    struct ScrollCase {
        int maximum;
        int pageStep;
        int value;
        int grooveLength;
        int thumbStart;
        int thumbLength;
    };

    void PrintTo(const ScrollCase& c, std::ostream* os)
    {
        *os << "max " << c.maximum << " page " << c.pageStep << " value " << c.value;
    }

    class ScrollThumb : public ::testing::TestWithParam<ScrollCase> { };

    TEST_P(ScrollThumb, SitsInProportion)
    {
        HelioraStyle style;
        QScrollBar bar(Qt::Vertical);
        bar.setStyle(&style);
        bar.setRange(0, GetParam().maximum);
        bar.setPageStep(GetParam().pageStep);
        bar.setValue(GetParam().value);
        bar.resize(10, GetParam().grooveLength);
        QStyleOptionSlider option;
        option.initFrom(&bar);
        option.orientation = Qt::Vertical;
        option.minimum = bar.minimum();
        option.maximum = bar.maximum();
        option.pageStep = bar.pageStep();
        option.sliderPosition = bar.sliderPosition();
        option.sliderValue = bar.value();
        option.rect = bar.rect();
        const QRect thumb = style.subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, &bar);
        EXPECT_EQ(thumb.top(), GetParam().thumbStart);
        EXPECT_EQ(thumb.height(), GetParam().thumbLength);
        EXPECT_TRUE(style.subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarAddLine, &bar).isEmpty());
        EXPECT_TRUE(style.subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSubLine, &bar).isEmpty());
        // Pressing below the thumb pages down, above it pages up.
        if (thumb.bottom() < bar.height() - 1) {
            EXPECT_EQ(style.hitTestComplexControl(QStyle::CC_ScrollBar, &option, QPoint(5, bar.height() - 1), &bar),
                QStyle::SC_ScrollBarAddPage);
        }
        if (thumb.top() > 0) {
            EXPECT_EQ(style.hitTestComplexControl(QStyle::CC_ScrollBar, &option, QPoint(5, 0), &bar),
                QStyle::SC_ScrollBarSubPage);
        }
        bar.setStyle(nullptr);
    }

    INSTANTIATE_TEST_SUITE_P(Ranges, ScrollThumb,
        ::testing::Values(ScrollCase { 200, 200, 0, 400, 0, 200 }, ScrollCase { 200, 200, 200, 400, 200, 200 },
            ScrollCase { 200, 200, 100, 400, 100, 200 },
            // A long content keeps a thumb that can still be grabbed.
            ScrollCase { 100000, 100, 0, 400, 0, 28 }, ScrollCase { 100000, 100, 100000, 400, 372, 28 },
            // Nothing to scroll: the thumb fills the groove.
            ScrollCase { 0, 100, 0, 400, 0, 400 }));

} // namespace
} // namespace heliora
