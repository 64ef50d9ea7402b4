#include "app/glyphbutton.h"

#include "artwork/artwork.h"

#include <QPainter>

namespace heliora {

GlyphButton::GlyphButton(std::string glyphName, int glyphSide, QWidget* parent)
    : QAbstractButton(parent)
    , m_glyph(std::move(glyphName))
    , m_side(glyphSide)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void GlyphButton::setGlyph(std::string glyphName)
{
    if (glyphName == m_glyph)
        return;
    m_glyph = std::move(glyphName);
    update();
}

QSize GlyphButton::sizeHint() const { return QSize(m_side, m_side); }

void GlyphButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    qreal opacity = isEnabled() ? 1.0 : 0.5;
    if (isDown())
        opacity *= 0.6;
    painter.setOpacity(opacity);
    const qreal side = std::min(width(), height());
    const QRectF square((width() - side) / 2, (height() - side) / 2, side, side);
    painter.drawImage(square, artwork::glyph(m_glyph, side, devicePixelRatioF(), Qt::white));
}

} // namespace heliora
