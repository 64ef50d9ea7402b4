#include "views/orrerypainter.h"

#include "artwork/artwork.h"
#include "views/theme.h"

#include <QCache>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <memory>

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

    void strokeRing(QPainter& painter, const OrrerySlot& slot)
    {
        // A zero width would be Qt's one-pixel cosmetic pen; no width means no ring.
        if (slot.strokeWidth <= 0)
            return;
        QPen pen(colors::ring, slot.strokeWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        pen.setMiterLimit(10);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(slot.strokeRect);
    }

    // Whether drawing every ring before every planet gives the same picture as the back-to-front order, in which
    // each ring is drawn after the planets outside it. It does when no ring reaches the picture of a planet
    // further out: the pictures are round, their ink within half their longer side of their centre.
    bool ringsStayClearOfOuterPlanets(const OrreryLayout& layout)
    {
        for (std::size_t k = 0; k + 1 < layout.rings.size(); ++k) {
            const OrrerySlot& outer = layout.rings[k];
            const OrrerySlot& inner = layout.rings[k + 1];
            const double reach = std::max(outer.imageRect.width(), outer.imageRect.height()) / 2;
            if (outer.ringRadius - reach <= inner.ringRadius + 1)
                return false;
        }
        return true;
    }

    // Antialiased circles are the dearest part of a frame (about 2 ms for the eight rings at twice the pixels),
    // and they never move. They are stroked once into a transparent layer, kept per geometry and device pixel
    // ratio, and the layer is copied on every frame: the same pixels as stroking them again.
    constexpr qsizetype ringLayerBudget = 24 * 1024 * 1024; // bytes: a few orreries at twice the pixels

    QCache<QString, QImage>& ringLayerCache()
    {
        static QCache<QString, QImage> cache(ringLayerBudget);
        return cache;
    }

    constexpr int layerBorder = 2; // device pixels around the D × D square, for antialiasing

    bool drawRingLayer(QPainter& painter, const OrreryLayout& layout, const QRectF& exposed)
    {
        const QTransform toDevice = painter.deviceTransform();
        const QPaintEngine* engine = painter.paintEngine();
        const QPaintDevice* device = painter.device();
        if (!engine || engine->type() != QPaintEngine::Raster || !device || layout.rings.empty())
            return false;
        // Only the plain mapping of a pixel device: its own ratio, no rotation or extra scaling.
        const qreal ratio = device->devicePixelRatioF();
        if (toDevice.type() > QTransform::TxScale || toDevice.m11() != ratio || toDevice.m22() != ratio)
            return false;
        if (!ringsStayClearOfOuterPlanets(layout))
            return false;
        const double sideInPixels = std::ceil(layout.diameter * ratio + 2 * layerBorder + 1);
        // A layer too large for the budget would be dropped at once; such orreries stroke their rings.
        if (!(sideInPixels * sideInPixels * 4 <= static_cast<double>(ringLayerBudget)))
            return false;

        // The layer is aligned with the device's pixels, so the fraction of a pixel at which the layout's corner
        // falls is part of what the layer looks like.
        const QPointF corner = toDevice.map(QPointF(0, 0));
        const QPointF whole(std::floor(corner.x()), std::floor(corner.y()));
        const QPointF fraction = corner - whole;
        const QString key = QStringLiteral("%1/%2/%3/%4/%5/%6")
                                .arg(layout.diameter, 0, 'g', 17)
                                .arg(layout.lineWidth, 0, 'g', 17)
                                .arg(layout.ringCount)
                                .arg(ratio, 0, 'g', 17)
                                .arg(fraction.x(), 0, 'g', 17)
                                .arg(fraction.y(), 0, 'g', 17);
        QImage* layer = ringLayerCache().object(key);
        if (!layer) {
            const int side = static_cast<int>(sideInPixels);
            auto image = std::make_unique<QImage>(side, side, QImage::Format_ARGB32_Premultiplied);
            if (image->isNull())
                return false;
            image->fill(Qt::transparent);
            image->setDevicePixelRatio(ratio);
            QPainter layerPainter(image.get());
            layerPainter.setRenderHint(QPainter::Antialiasing);
            layerPainter.translate((QPointF(layerBorder, layerBorder) + fraction) / ratio);
            for (const OrrerySlot& slot : layout.rings)
                strokeRing(layerPainter, slot);
            layerPainter.end();
            if (!ringLayerCache().insert(key, image.release(), static_cast<qsizetype>(side) * side * 4))
                return false;
            layer = ringLayerCache().object(key);
        }

        // Copy only what is exposed, pixel for pixel.
        const QTransform toLogical = toDevice.inverted();
        const QPointF origin = whole - QPointF(layerBorder, layerBorder);
        QRect source = layer->rect();
        if (!exposed.isNull())
            source &= toDevice.mapRect(exposed).toAlignedRect().translated(-origin.toPoint()).adjusted(-1, -1, 1, 1);
        if (source.isEmpty())
            return true;
        const QRectF target(toLogical.map(origin + QPointF(source.topLeft())), QSizeF(source.size()) / ratio);
        painter.drawImage(target, *layer, source);
        return true;
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

    const bool layered = options.cacheRings && drawRingLayer(painter, layout, options.exposed);
    for (const OrrerySlot& slot : layout.rings) {
        if (!layered && (all || ringTouches(slot, layout.centre, options.exposed)))
            strokeRing(painter, slot);
        if (all || options.exposed.intersects(slot.imageRect)) {
            const SolarSystemObject body = SolarSystemObject::planet(slot.planet);
            drawPicture(painter, imageName(slot.planet), slot.imageRect, ratio, isPressed(body));
        }
    }
    painter.restore();
}

} // namespace heliora
