#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QRectF>
#include <QSizeF>

#include <string_view>

namespace heliora {

/// Heliora's pictures: the SVG artwork of the Sun and the planets ("Sun", "Mercury" ... "Pluto"), the
/// monochrome glyphs ("play.fill", "gear", ...) and the application icon, all embedded as resources.
/// Pictures are rasterised at device resolution and cached per name, size, ratio and tint, so painting a
/// frame only copies pixels. Works without a display (QImage only). Main thread only (body pictures asked for
/// ahead are made on Qt's thread pool, each from a document of its own).
namespace artwork {

    /// The picture's own proportions (its view box); an empty size for an unknown name.
    QSizeF naturalSize(std::string_view imageName);

    /// The rectangle that the picture fills when fitted into `box` with its aspect ratio kept, centred.
    QRectF fittedRect(const QRectF& box, const QSizeF& natural);

    /// The body picture fitted into `size` (logical pixels) at `devicePixelRatio`; the image carries that
    /// ratio, so drawing it at its logical size is crisp. Transparent where the picture is; null for an
    /// unknown name or an empty size.
    QImage body(std::string_view imageName, const QSizeF& size, qreal devicePixelRatio);

    /// Starts making the picture that body() will be asked for with the same arguments, on another thread, and
    /// returns at once; body() then takes it, waiting if it is not finished. Nothing happens for a picture
    /// already made or on its way, an unknown name or an empty size.
    void prepareBody(std::string_view imageName, const QSizeF& size, qreal devicePixelRatio);

    /// A glyph tinted with one colour (only the glyph's coverage is kept), square, `side` logical pixels.
    QImage glyph(std::string_view glyphName, qreal side, qreal devicePixelRatio, const QColor& tint);

    /// The glyph as an icon in the given colour, sharp at every size the icon is asked for.
    QIcon glyphIcon(std::string_view glyphName, const QColor& tint);

    /// The application icon, drawn from its SVG at each size it is asked for (nothing is drawn before).
    QIcon applicationIcon();

} // namespace artwork
} // namespace heliora
