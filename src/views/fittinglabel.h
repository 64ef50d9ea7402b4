#pragma once

#include <QLabel>

namespace heliora {

/// A one-line label that shrinks its font, down to a minimum fraction of its size, to fit its width, and only
/// then cuts the text with an ellipsis. Assistive technologies read the whole text.
class FittingLabel : public QLabel {
    Q_OBJECT
public:
    explicit FittingLabel(QWidget* parent = nullptr);

    void setMinimumScaleFactor(qreal factor) { m_minimumScale = factor; }
    void setTextColor(const QColor& color);

    /// The font size (pixels) at which the text is drawn in the current width.
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
