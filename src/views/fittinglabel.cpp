#include "views/fittinglabel.h"

#include <QPainter>

#include <cmath>

namespace heliora {

FittingLabel::FittingLabel(QWidget* parent)
    : QLabel(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
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
    const qreal size = base.pixelSize() > 0 ? base.pixelSize() : base.pointSizeF() * logicalDpiY() / 72.0;
    const qreal available = contentsRect().width();
    const qreal natural = QFontMetricsF(base).horizontalAdvance(text());
    if (natural <= available || natural <= 0)
        return size;
    // Text width scales with the font size closely enough; round down so the text surely fits.
    return std::max(size * m_minimumScale, std::floor(size * available / natural));
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
    fitted.setPixelSize(std::max(1, static_cast<int>(fittedPixelSize())));
    painter.setFont(fitted);
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect area = contentsRect();
    const QString shown = QFontMetrics(fitted).elidedText(text(), Qt::ElideRight, area.width());
    painter.drawText(area, static_cast<int>(alignment()) | Qt::TextSingleLine, shown);
}

} // namespace heliora
