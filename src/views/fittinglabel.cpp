#include "views/fittinglabel.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace heliora {

namespace {

    qreal fontPixels(const QFont& font, int dpi)
    {
        return font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * dpi / 72.0;
    }

} // namespace

FittingLabel::FittingLabel(QWidget* parent)
    : QLabel(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void FittingLabel::setMinimumScaleFactor(qreal factor)
{
    m_minimumScale = std::isnan(factor) ? 1.0 : std::clamp(factor, 0.0, 1.0);
    update();
}

void FittingLabel::setTextColor(const QColor& color)
{
    if (m_textColor.isValid() && m_textColor == color)
        return;
    m_textColor = color;
    QPalette p = palette();
    if (p.color(QPalette::WindowText) == color)
        return;
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

qreal FittingLabel::fittedPixelSize() const
{
    const QFont base = font();
    const qreal size = fontPixels(base, logicalDpiY());
    const qreal available = contentsRect().width();
    const qreal natural = QFontMetricsF(base).horizontalAdvance(text());
    if (natural <= available || natural <= 0)
        return size;
    // Fonts come in whole pixels, so the smallest allowed size is rounded up (a tolerance keeps 34 x 0.5 at 17):
    // rounding it down would draw below the minimum. Text width scales with the font size closely enough; the
    // fitting size is rounded down so the text surely fits.
    const qreal smallest = std::min(size, std::max(1.0, std::ceil(size * m_minimumScale - 1e-6)));
    return std::max(smallest, std::floor(size * available / natural));
}

QSize FittingLabel::minimumSizeHint() const
{
    // The layout may squeeze the label: it shrinks and then elides rather than widen the window.
    return QSize(0, sizeHint().height());
}

void FittingLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QFont fitted = font();
    const qreal pixels = fittedPixelSize();
    if (pixels < fontPixels(fitted, logicalDpiY()))
        fitted.setPixelSize(std::max(1, qRound(pixels)));
    painter.setFont(fitted);
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect area = contentsRect();
    const QString shown = QFontMetrics(fitted).elidedText(text(), Qt::ElideRight, area.width());
    painter.drawText(area, static_cast<int>(alignment()) | Qt::TextSingleLine, shown);
}

} // namespace heliora
