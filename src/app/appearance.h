#pragma once

#include <QColor>
#include <QPalette>
#include <QProxyStyle>

class QStyleOptionSlider;

class QApplication;

namespace heliora {

/// A QProxyStyle that is Heliora's look: Fusion with a dark palette, whatever the desktop theme, and no focus frame
/// on buttons or check boxes. Buttons still take keyboard focus; only the frame or highlighted outline that marks
/// it is not drawn. Scroll bars are slim: a rounded thumb on the window's own colour, without arrow buttons. The
/// application owns it once installed.
class HelioraStyle : public QProxyStyle {
public:
    /// Wraps a new Fusion style.
    HelioraStyle();

    int pixelMetric(
        PixelMetric metric, const QStyleOption* option = nullptr, const QWidget* widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl subControl,
        const QWidget* widget = nullptr) const override;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
        const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
        const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
        const QWidget* widget = nullptr) const override;
    /// The base style's icons, except that a bar's extension button gets its icon only when the icon is first
    /// drawn or measured.
    QIcon standardIcon(
        StandardPixmap icon, const QStyleOption* option = nullptr, const QWidget* widget = nullptr) const override;

private:
    void drawScrollBar(const QStyleOptionSlider& bar, QPainter* painter) const;
};

/// Installs HelioraStyle and the dark palette on the application. Call once, after the QApplication exists and
/// before any window is created.
void applyDarkAppearance(QApplication& app);

} // namespace heliora
