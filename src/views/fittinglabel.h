#pragma once

#include <QLabel>

namespace heliora {

/// A one-line QLabel that shrinks its font, in whole pixels and never below a minimum fraction of its size, to
/// fit its width, and only then cuts the text with an ellipsis. Assistive technologies read the whole text.
class FittingLabel : public QLabel {
    Q_OBJECT
public:
    explicit FittingLabel(QWidget* parent = nullptr);

    /// The smallest fraction of the font's size that the text may be drawn at (1: never shrink, the default).
    /// Clamped to 0 to 1; a NaN counts as 1. The smallest size is rounded up to a whole pixel, so the text is
    /// never drawn below it: 34 px at 0.7 shrinks to 24 px at most.
    void setMinimumScaleFactor(qreal factor);
    void setTextColor(const QColor& color);

    /// The font size (pixels) at which the text is drawn in the current width: the font's own size when the text
    /// fits, else a whole number of pixels.
    qreal fittedPixelSize() const;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal m_minimumScale = 1.0;
    /// The colour last set, so that setting it again (as the main window does twice a second) costs no palette look-up.
    QColor m_textColor;
};

} // namespace heliora
