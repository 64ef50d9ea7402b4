#include "views/orrerypainter.h"

#include "artwork/artwork.h"
#include "views/theme.h"

#include <QPaintEngine>
#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

namespace heliora {

namespace {

    // Opacity of a pressed body: a light dimming, no frame or background of its own.
    constexpr qreal pressedOpacity = 0.6;

    // The focus mark: a circle this far outside the picture's longer side, stroked this wide. Clear against the
    // black field and the grey rings, and quiet beside the pictures.
    constexpr double focusMarkGap = 2.5;
    constexpr double focusMarkPen = 1.5;
    static_assert(focusMarkGap + focusMarkPen / 2 + 0.5 <= focusMarkReach, "the mark's ink stays within its reach");

    double focusMarkRadius(const QRectF& imageRect)
    {
        return std::max(imageRect.width(), imageRect.height()) / 2 + focusMarkGap;
    }

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

    // How the painter's coordinates meet the device's pixels. On a raster device under a plain scale and
    // translation, with pictures rasterised at that very scale, pictures and the ring layer are copied pixel for
    // pixel: in device coordinates, each at a whole pixel, as plain blends (which Qt never splits across its
    // thread pool and never resamples). Anything else (an SVG file, a rotated painter, pictures asked for at
    // another ratio) draws the pictures into their rectangles.
    struct PixelGrid {
        bool exact = false;
        QTransform toDevice; ///< layout coordinates to device pixels
        qreal scale = 1; ///< device pixels per logical pixel, when exact
        qreal pictureRatio = 1; ///< the pictures' device pixels per logical pixel
    };

    PixelGrid pixelGridOf(const QPainter& painter, const OrreryPaintOptions& options)
    {
        PixelGrid grid;
        grid.toDevice = painter.deviceTransform();
        const QPaintEngine* engine = painter.paintEngine();
        const qreal scale = grid.toDevice.m11();
        const bool plainScale = engine && engine->type() == QPaintEngine::Raster
            && grid.toDevice.type() <= QTransform::TxScale && scale > 0 && grid.toDevice.m22() == scale;
        // The ratio of the pixels that the painter really reaches: a widget rendered into an image of twice its
        // screen's ratio paints twice the pixels, and its pictures are rasterised for those.
        const QPaintDevice* device = painter.device();
        const qreal deviceRatio = plainScale ? scale : (device ? device->devicePixelRatioF() : 1.0);
        grid.pictureRatio = options.pictureRatio > 0 ? options.pictureRatio : deviceRatio;
        grid.exact = plainScale && grid.pictureRatio == scale;
        grid.scale = scale;
        return grid;
    }

    // Where to draw a picture fitted into `imageRect` when the grid is not exact. On a raster device under a
    // plain scale the picture's corner still goes to a whole device pixel; other devices take the exact rectangle.
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

    // A body's picture at one size and ratio: as the artwork gives it (carrying its ratio) and the same pixels
    // as a plain image of ratio 1, for copies in device pixels.
    struct Picture {
        QSizeF size;
        qreal ratio = 0;
        QImage image;
        QImage pixels;
    };

    // The pictures of each body, the last few sizes and ratios asked for, most recent first. A frame finds its
    // pictures by comparing two numbers per body: no key text, no look-up of the SVG document or its view box.
    const Picture& pictureOf(const SolarSystemObject& body, const QSizeF& size, qreal ratio)
    {
        constexpr std::size_t keptPerBody = 4;
        thread_local std::array<std::vector<Picture>, planetCount + 1> pictures;
        const auto planet = body.asPlanet();
        std::vector<Picture>& kept = pictures[planet ? indexOf(*planet) + 1 : 0];
        for (auto it = kept.begin(); it != kept.end(); ++it) {
            if (it->ratio == ratio && it->size.width() == size.width() && it->size.height() == size.height()) {
                std::rotate(kept.begin(), it, it + 1);
                return kept.front();
            }
        }
        Picture picture { size, ratio, artwork::body(body.imageName(), size, ratio), {} };
        picture.pixels = picture.image;
        picture.pixels.setDevicePixelRatio(1);
        if (kept.size() == keptPerBody)
            kept.pop_back();
        kept.insert(kept.begin(), std::move(picture));
        return kept.front();
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

    // Whether the innermost ring keeps clear of the Sun's picture, whose ink lies within half its longer side of
    // its centre: then the rings and the Sun may be drawn in either order.
    bool ringsStayClearOfTheSun(const OrreryLayout& layout)
    {
        if (layout.rings.empty())
            return true;
        const OrrerySlot& innermost = layout.rings.back();
        const double reach = std::max(layout.sunImageRect.width(), layout.sunImageRect.height()) / 2;
        return innermost.ringRadius - innermost.strokeWidth - 1 >= reach;
    }

    // Antialiased circles are the dearest part of a frame (about 2 ms for the eight rings at twice the pixels),
    // and they never move. They are stroked once into a transparent layer in device pixels, kept per geometry and
    // device pixel ratio, and the layer is copied on every frame: the same pixels as stroking them again.
    constexpr qsizetype ringLayerBudget = 24 * 1024 * 1024; // bytes: a few orreries at twice the pixels
    constexpr int layerBorder = 2; // device pixels around the D × D square, for antialiasing

    struct RingLayerKey {
        double diameter = 0;
        double lineWidth = 0;
        int ringCount = 0;
        qreal scale = 0;
        // The layer is aligned with the device's pixels, so the fraction of a pixel at which the layout's corner
        // falls is part of what the layer looks like.
        QPointF fraction;
        /// The field that the rings are composed over (an opaque layer of format RGB32), or none (a transparent
        /// layer).
        std::optional<QRgb> field;
        bool operator==(const RingLayerKey&) const = default;
    };

    struct RingLayer {
        RingLayerKey key;
        QImage pixels; ///< device pixels, ratio 1; (0, 0) lies `layerBorder` pixels above and left of the corner
    };

    // The kept layers, most recent first, within the budget. Null when the layer is not kept and `make` is false,
    // or cannot be made.
    const QImage* ringLayer(const OrreryLayout& layout, const RingLayerKey& key, double sideInPixels, bool make)
    {
        thread_local std::vector<RingLayer> layers;
        for (auto it = layers.begin(); it != layers.end(); ++it) {
            if (it->key == key) {
                std::rotate(layers.begin(), it, it + 1);
                return &layers.front().pixels;
            }
        }
        if (!make)
            return nullptr;
        const int side = static_cast<int>(sideInPixels);
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        if (image.isNull())
            return nullptr;
        image.fill(Qt::transparent);
        image.setDevicePixelRatio(key.scale);
        QPainter layerPainter(&image);
        layerPainter.setRenderHint(QPainter::Antialiasing);
        layerPainter.translate((QPointF(layerBorder, layerBorder) + key.fraction) / key.scale);
        for (const OrrerySlot& slot : layout.rings)
            strokeRing(layerPainter, slot);
        layerPainter.end();
        image.setDevicePixelRatio(1);
        if (key.field) {
            // The transparent layer blended over the field, once: the very pixels that a frame blending it over
            // a field of that colour gets, now copied as they are.
            QImage opaque(side, side, QImage::Format_RGB32);
            if (opaque.isNull())
                return nullptr;
            opaque.fill(*key.field);
            QPainter(&opaque).drawImage(0, 0, image);
            image = std::move(opaque);
        }
        qsizetype bytes = image.sizeInBytes();
        for (const RingLayer& layer : layers)
            bytes += layer.pixels.sizeInBytes();
        while (!layers.empty() && bytes > ringLayerBudget) {
            bytes -= layers.back().pixels.sizeInBytes();
            layers.pop_back();
        }
        layers.insert(layers.begin(), RingLayer { key, std::move(image) });
        return &layers.front().pixels;
    }

    // The device pixels of `area` that can hold ink of the ring: the bounding box of the ring's annulus (a pixel of
    // antialiasing wider on each side) within the area. For the x extent: a column x holds ink when some row y of
    // the area puts x at a distance from the centre between the annulus' radii, that is when
    // dx² + dy_min² <= outer² and dx² + dy_max² >= inner², with dy_min and dy_max the least and greatest vertical
    // distance of the area's rows; the y extent likewise. Empty when the ring misses the area.
    QRect ringInkBox(const OrrerySlot& slot, const QPointF& centre, qreal scale, const QRect& area)
    {
        if (area.isEmpty() || slot.strokeWidth <= 0)
            return {};
        const double outer = slot.ringRadius * scale + 1.5;
        const double inner = std::max(0.0, (slot.ringRadius - slot.strokeWidth) * scale - 1.5);
        // The extent along one axis, given the area's span [from, to] on it and [otherFrom, otherTo] on the other.
        const auto extent = [&](double c, double from, double to, double otherC, double otherFrom,
                                double otherTo) -> std::pair<double, double> {
            const double nearest = std::max({ otherFrom - otherC, 0.0, otherC - otherTo });
            const double farthest = std::max(std::abs(otherFrom - otherC), std::abs(otherTo - otherC));
            if (nearest > outer)
                return { 1, 0 };
            const double hi = std::sqrt(outer * outer - nearest * nearest);
            const double lo = farthest >= inner ? 0.0 : std::sqrt(inner * inner - farthest * farthest);
            // Columns with lo <= |x - c| <= hi: two intervals; their hull within [from, to].
            double first = to;
            double last = from;
            for (const auto& [a, b] : { std::pair { c - hi, c - lo }, std::pair { c + lo, c + hi } }) {
                const double l = std::max(a, from);
                const double r = std::min(b, to);
                if (l <= r) {
                    first = std::min(first, l);
                    last = std::max(last, r);
                }
            }
            return { first, last };
        };
        const double left = area.left(), right = area.right() + 1.0;
        const double top = area.top(), bottom = area.bottom() + 1.0;
        const auto [x0, x1] = extent(centre.x(), left, right, centre.y(), top, bottom);
        const auto [y0, y1] = extent(centre.y(), top, bottom, centre.x(), left, right);
        if (x0 > x1 || y0 > y1)
            return {};
        return QRect(QPoint(static_cast<int>(std::floor(x0)), static_cast<int>(std::floor(y0))),
                   QPoint(static_cast<int>(std::ceil(x1)) - 1, static_cast<int>(std::ceil(y1)) - 1))
            & area;
    }

    // Adds a box to boxes that do not overlap, merging it with any that it overlaps (copying a pixel of the
    // layer twice would blend it twice).
    void addDisjoint(std::vector<QRect>& boxes, QRect box)
    {
        if (box.isEmpty())
            return;
        for (std::size_t i = 0; i < boxes.size();) {
            if (boxes[i].intersects(box)) {
                box |= boxes[i];
                boxes.erase(boxes.begin() + static_cast<std::ptrdiff_t>(i));
                i = 0;
            } else {
                ++i;
            }
        }
        boxes.push_back(box);
    }

    // Paints one frame, switching the painter between layout coordinates (strokes, inexact pictures) and
    // device pixels (exact copies) as each piece needs.
    class FramePainter {
    public:
        FramePainter(QPainter& painter, const OrreryLayout& layout, const OrreryPaintOptions& options)
            : m_painter(painter)
            , m_layout(layout)
            , m_options(options)
            , m_grid(pixelGridOf(painter, options))
            , m_logical(painter.worldTransform())
            , m_all(options.exposed.isNull())
            , m_exposedPixels(m_all ? QRect() : m_grid.toDevice.mapRect(options.exposed).toAlignedRect())
        {
            if (m_grid.exact)
                m_device = m_grid.toDevice.inverted() * m_logical;
        }

        /// Whether pictures and rings are copied pixel for pixel (else they are resampled into place).
        bool copiesPixels() const { return m_grid.exact; }

        void paint()
        {
            const SolarSystemObject sun = SolarSystemObject::sun();
            bool layered = false;
            if (m_options.field.isValid()) {
                // The field and the rings in one copy of an opaque layer, before the Sun: the same picture as long
                // as no ring reaches the Sun.
                layered = m_options.cacheRings && ringsStayClearOfTheSun(m_layout) && drawRingLayer();
                if (!layered)
                    fillField();
                drawBody(sun, m_layout.sunImageRect);
            } else {
                drawBody(sun, m_layout.sunImageRect);
                layered = m_options.cacheRings && drawRingLayer();
            }
            for (const OrrerySlot& slot : m_layout.rings) {
                if (!layered && (m_all || ringTouches(slot, m_layout.centre, m_options.exposed))) {
                    useLogical();
                    strokeRing(m_painter, slot);
                }
                drawBody(SolarSystemObject::planet(slot.planet), slot.imageRect);
            }
            if (m_options.focused)
                drawFocusMark(m_layout.imageRect(*m_options.focused));
        }

    private:
        void useLogical()
        {
            if (m_inDevice) {
                m_painter.setWorldTransform(m_logical);
                m_inDevice = false;
            }
        }

        void useDevice()
        {
            if (!m_inDevice) {
                m_painter.setWorldTransform(m_device);
                m_inDevice = true;
            }
        }

        void drawBody(const SolarSystemObject& body, const QRectF& imageRect)
        {
            if (!m_all && !m_grid.exact && !m_options.exposed.intersects(imageRect.adjusted(-1, -1, 1, 1)))
                return;
            const Picture& picture = pictureOf(body, imageRect.size(), m_grid.pictureRatio);
            if (picture.image.isNull())
                return;
            const bool pressed = m_options.pressed && *m_options.pressed == body;
            if (m_grid.exact) {
                // The picture's raster, centred on the rectangle's centre, its corner on a whole device pixel.
                const QPointF centre = m_grid.toDevice.map(imageRect.center());
                const QRect target(QPoint(static_cast<int>(std::round(centre.x() - picture.pixels.width() / 2.0)),
                                       static_cast<int>(std::round(centre.y() - picture.pixels.height() / 2.0))),
                    picture.pixels.size());
                if (!m_all && !m_exposedPixels.intersects(target))
                    return;
                useDevice();
                if (pressed)
                    m_painter.setOpacity(pressedOpacity);
                m_painter.drawImage(target.topLeft(), picture.pixels);
            } else {
                useLogical();
                if (pressed)
                    m_painter.setOpacity(pressedOpacity);
                m_painter.drawImage(pictureTarget(m_painter, imageRect, picture.image), picture.image);
            }
            if (pressed)
                m_painter.setOpacity(1.0);
        }

        void drawFocusMark(const QRectF& imageRect)
        {
            if (imageRect.isNull() || (!m_all && !m_options.exposed.intersects(focusMarkRect(imageRect))))
                return;
            useLogical();
            m_painter.setPen(QPen(colors::orange, focusMarkPen));
            m_painter.setBrush(Qt::NoBrush);
            const double radius = focusMarkRadius(imageRect);
            m_painter.drawEllipse(imageRect.center(), radius, radius);
        }

        // The device pixels to paint whole when a field is asked for: the exposed ones, or the device's.
        QRect fieldPixels() const
        {
            if (!m_all)
                return m_exposedPixels;
            const QPaintDevice* device = m_painter.device();
            const qreal ratio = device->devicePixelRatioF();
            return QRect(0, 0, static_cast<int>(std::ceil(device->width() * ratio)),
                static_cast<int>(std::ceil(device->height() * ratio)));
        }

        void fillField()
        {
            if (!m_grid.exact) {
                // Resampled pictures: the field in layout coordinates, without antialiasing at its edges.
                useLogical();
                m_painter.save();
                m_painter.setRenderHint(QPainter::Antialiasing, false);
                const QRectF area
                    = m_all ? m_logical.inverted().mapRect(QRectF(m_painter.window())) : m_options.exposed;
                m_painter.fillRect(area, m_options.field);
                m_painter.restore();
                return;
            }
            useDevice();
            m_painter.fillRect(fieldPixels(), m_options.field);
        }

        bool drawRingLayer()
        {
            if (!m_grid.exact || m_layout.rings.empty() || !ringsStayClearOfOuterPlanets(m_layout))
                return false;
            const double sideInPixels = std::ceil(m_layout.diameter * m_grid.scale + 2 * layerBorder + 1);
            // A layer too large for the budget would be dropped at once; such orreries stroke their rings.
            if (!(sideInPixels * sideInPixels * 4 <= static_cast<double>(ringLayerBudget)))
                return false;
            const QPointF corner = m_grid.toDevice.map(QPointF(0, 0));
            const QPointF whole(std::floor(corner.x()), std::floor(corner.y()));
            const std::optional<QRgb> field
                = m_options.field.isValid() ? std::optional(m_options.field.rgb()) : std::nullopt;
            const RingLayerKey key { m_layout.diameter, m_layout.lineWidth, m_layout.ringCount, m_grid.scale,
                corner - whole, field };
            const QImage* layer = ringLayer(m_layout, key, sideInPixels, m_options.makeRingLayer);
            if (!layer)
                return false;
            // Copy only what is exposed, pixel for pixel: of a partial repaint, only the boxes around the rings'
            // ink in it. Most of a repainted rectangle lies between rings, where the layer is clear.
            const QPoint origin = whole.toPoint() - QPoint(layerBorder, layerBorder);
            const QRect layerPixels = layer->rect().translated(origin);
            if (field) {
                // The whole exposed part of the layer in one copy (an opaque image is a plain copy of rows), the
                // field around it.
                const QRect area = fieldPixels();
                const QRect inLayer = area & layerPixels;
                useDevice();
                if (!inLayer.isEmpty())
                    m_painter.drawImage(inLayer.topLeft(), *layer, inLayer.translated(-origin));
                for (const QRect& rest : QRegion(area).subtracted(inLayer))
                    m_painter.fillRect(rest, m_options.field);
                return true;
            }
            std::vector<QRect> boxes;
            if (m_all) {
                boxes.push_back(layerPixels);
            } else {
                const QRect exposed = m_exposedPixels.adjusted(-1, -1, 1, 1) & layerPixels;
                const QPointF centre = m_grid.toDevice.map(m_layout.centre);
                for (const OrrerySlot& slot : m_layout.rings)
                    addDisjoint(boxes, ringInkBox(slot, centre, m_grid.scale, exposed));
            }
            useDevice();
            for (const QRect& box : boxes)
                m_painter.drawImage(box.topLeft(), *layer, box.translated(-origin));
            return true;
        }

        QPainter& m_painter;
        const OrreryLayout& m_layout;
        const OrreryPaintOptions& m_options;
        const PixelGrid m_grid;
        const QTransform m_logical;
        QTransform m_device;
        const bool m_all;
        const QRect m_exposedPixels;
        bool m_inDevice = false;
    };

} // namespace

QRectF focusMarkRect(const QRectF& imageRect)
{
    const double half = std::max(imageRect.width(), imageRect.height()) / 2 + focusMarkReach;
    return QRectF(imageRect.center() - QPointF(half, half), QSizeF(2 * half, 2 * half));
}

void paintOrrery(QPainter& painter, const OrreryLayout& layout, const OrreryPaintOptions& options)
{
    painter.save();
    FramePainter frame(painter, layout, options);
    // Smooth resampling only where pictures are resampled: with it on, Qt gives up its plain copies.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !frame.copiesPixels());
    frame.paint();
    painter.restore();
}

} // namespace heliora
