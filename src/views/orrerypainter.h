#pragma once

#include "views/orrerylayout.h"

#include <QColor>
#include <QRectF>

#include <optional>

class QPainter;

namespace heliora {

/// How paintOrrery draws one frame, beyond the layout itself.
struct OrreryPaintOptions {
    /// A clickable body under a pressed mouse button; drawn dimmed, the plain button's pressed look.
    std::optional<SolarSystemObject> pressed;
    /// The body with keyboard focus: a thin orange circle around its picture, drawn over everything else.
    std::optional<SolarSystemObject> focused;
    /// Device pixels per logical pixel of the pictures; 0 takes the ratio of the pixels that the painter reaches
    /// (its scale on a pixel device, whatever the widget's screen says). Vector devices (an SVG file) want more
    /// than their nominal 1 so that the pictures stay sharp when zoomed.
    qreal pictureRatio = 0;
    /// Only rings and bodies that touch this rectangle (layout coordinates) are drawn; a null rectangle
    /// draws everything. For partial repaints: the painter's clip is not changed, so clip to this rectangle
    /// (one rectangle: a clip of many makes Qt blend span by span).
    QRectF exposed;
    /// Draw the rings from a cached layer where that gives the same pixels (a pixel device under a plain scale,
    /// no ring crossing a planet further out); otherwise, or when false, stroke them on every frame.
    bool cacheRings = true;
    /// Whether a missing layer may be made now. When false, the rings come from a layer only if one is already
    /// kept: making one costs more than stroking the rings once, and pays off only over many frames.
    bool makeRingLayer = true;
    /// The colour of the field beneath the orrery. When valid, the exposed pixels are painted whole: the field
    /// first (with the rings already composed over it where a ring layer is kept, so that one plain copy gives
    /// both), then the bodies; a view that paints this way needs nothing painted beneath it. Invalid: no
    /// background, the orrery is drawn over what the device holds.
    QColor field;
};

/// How far the focus mark's ink reaches beyond half the longer side of the picture it surrounds, antialiasing
/// included, in logical pixels.
inline constexpr double focusMarkReach = 4;

/// The square that holds all the ink of the focus mark around a picture drawn in `imageRect`.
QRectF focusMarkRect(const QRectF& imageRect);

/// Paints the orrery in the painter's current coordinates (the layout's D × D square at (0, 0)): the Sun, then
/// from the outermost ring inwards each ring followed by its planet, then the focus mark if any. No background unless
/// the options give a field. The pictures are the cached rasters of the artwork at the device's resolution; on a pixel
/// device they and the ring layer are copied pixel for pixel onto whole device pixels, so they stay sharp and cost one
/// plain blend each. Leaves the painter's state as it found it. Shared by the window's view and `heliora-cli render`.
/// The pictures and ring layers are kept per thread.
void paintOrrery(QPainter& painter, const OrreryLayout& layout, const OrreryPaintOptions& options = {});

} // namespace heliora
