#include "orrerypainter.h"

#include "artwork.h"

#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace heliora {

namespace {

    // Opacity of a pressed body: a light dimming, no frame or background of its own.
    constexpr qreal pressedOpacity = 0.6;

    // Whether any ink of a ring (radii r − w ... r around c, plus a pixel of antialiasing) can fall into `area`.
    bool ringTouches(const OrrerySlot& slot, const QPointF& c, const QRectF& area)
    {
        const double dx = std::max({ area.left() - c.x(), 0.0, c.x() - area.right() });
        const double dy = std::max({ area.top() - c.y(), 0.0, c.y() - area.bottom() });
        const double nearest = std::hypot(dx, dy);
        const double farX = std::max(std::abs(area.left() - c.x()), std::abs(area.right() - c.x()));
        const double farY = std::max(std::abs(area.top() - c.y()), std::abs(area.bottom() - c.y()));
        const double farthest = std::hypot(farX, farY);
        return nearest <= slot.ringRadius + 1 && farthest >= slot.ringRadius - slot.strokeWidth - 1;
    }

    // Where to draw a picture fitted into `imageRect`. On pixel devices the picture's own raster is copied one to
    // one with its corner on a whole device pixel, instead of being resampled half a pixel off; other devices
    // (an SVG file) take the exact rectangle.
    QRectF pictureTarget(const QPainter& painter, const QRectF& imageRect, const QImage& image)
    {
        const QTransform toDevice = painter.deviceTransform();
        const QPaintEngine* engine = painter.paintEngine();
        if (!engine || engine->type() != QPaintEngine::Raster || toDevice.type() > QTransform::TxScale)
            return imageRect;
        const QSizeF logical = QSizeF(image.size()) / image.devicePixelRatio();
        const QPointF centre = imageRect.center();
        const QPointF corner
            = toDevice.map(QPointF(centre.x() - logical.width() / 2, centre.y() - logical.height() / 2));
        return QRectF(toDevice.inverted().map(QPointF(std::round(corner.x()), std::round(corner.y()))), logical);
    }

    void drawPicture(QPainter& painter, std::string_view imageName, const QRectF& imageRect, qreal ratio, bool pressed)
    {
        const QImage image = artwork::body(imageName, imageRect.size(), ratio);
        if (image.isNull())
            return;
        if (pressed)
            painter.setOpacity(pressedOpacity);
        painter.drawImage(pictureTarget(painter, imageRect, image), image);
        if (pressed)
            painter.setOpacity(1.0);
    }

} // namespace

void paintOrrery(QPainter& painter, const OrreryLayout& layout, const OrreryPaintOptions& options)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPaintDevice* device = painter.device();
    const qreal ratio = options.pictureRatio > 0 ? options.pictureRatio : (device ? device->devicePixelRatioF() : 1.0);
    const bool all = options.exposed.isNull();
    const auto isPressed = [&](const SolarSystemObject& body) { return options.pressed && *options.pressed == body; };

    const SolarSystemObject sun = SolarSystemObject::sun();
    if (all || options.exposed.intersects(layout.sunImageRect))
        drawPicture(painter, sun.imageName(), layout.sunImageRect, ratio, isPressed(sun));

    QPen pen(ringColor, 1.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setMiterLimit(10);
    painter.setBrush(Qt::NoBrush);
    for (const OrrerySlot& slot : layout.rings) {
        // A zero width would be Qt's one-pixel cosmetic pen; no width means no ring.
        if (slot.strokeWidth > 0 && (all || ringTouches(slot, layout.centre, options.exposed))) {
            pen.setWidthF(slot.strokeWidth);
            painter.setPen(pen);
            painter.drawEllipse(slot.strokeRect);
        }
        if (all || options.exposed.intersects(slot.imageRect)) {
            const SolarSystemObject body = SolarSystemObject::planet(slot.planet);
            drawPicture(painter, imageName(slot.planet), slot.imageRect, ratio, isPressed(body));
        }
    }
    painter.restore();
}

} // namespace heliora
