#include "views/bodyimage.h"

#include "artwork/artwork.h"
#include "strings/stringtable.h"
#include "views/accessibility.h"

#include <QPainter>

namespace heliora {

namespace {

    // The scale applied about the frame's centre: 0.8 for the Sun, 1 for a planet.
    double scaleFor(const SolarSystemObject& object) { return object.isSun() ? 0.8 : 1.0; }

    // Where the picture is drawn inside a square frame of `side`: fitted, centred, then scaled.
    QRectF pictureRect(const SolarSystemObject& object, double side)
    {
        const QRectF frame(0, 0, side, side);
        const QRectF fitted = artwork::fittedRect(frame, artwork::naturalSize(object.imageName()));
        const double scale = scaleFor(object);
        QRectF scaled(0, 0, fitted.width() * scale, fitted.height() * scale);
        scaled.moveCenter(frame.center());
        return scaled;
    }

} // namespace

BodyImage::BodyImage(const SolarSystemObject& object, int side, QWidget* parent)
    : QWidget(parent)
    , m_object(object)
    , m_side(side)
{
    setFixedSize(side, side);
    installAccessibleInterfaces();
    setAccessibleName(localizedName(object));
}

QSize BodyImage::sizeHint() const { return QSize(m_side, m_side); }

void BodyImage::paintEvent(QPaintEvent*)
{
    const QRectF target = pictureRect(m_object, m_side);
    const QImage picture = artwork::body(m_object.imageName(), target.size(), devicePixelRatioF());
    if (picture.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(target.topLeft(), picture);
}

} // namespace heliora
