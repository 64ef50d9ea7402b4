#pragma once

#include <QColor>
#include <QPalette>

namespace heliora {

/// Heliora's colours, in one place. Every window is dark whatever the desktop's theme: widgets read their
/// colours from darkPalette() through the palette roles; the colours that no role names are the constants below.
/// Used by the orrery's painter, the windows, the lists and the desktop widgets.
namespace colors {
    /// The field behind every orrery.
    inline constexpr QColor field { 0, 0, 0 };
    /// The orbit rings: 64/255 on every channel, opaque. Also the reset button's face.
    inline constexpr QColor ring { 64, 64, 64 };
    /// Accent of the clock texts while playing, of links and of the confirmation overlay.
    inline constexpr QColor orange { 255, 159, 10 };
    /// Secondary texts: captions, ratio and AU lines, section headers, the paused clock.
    inline constexpr QColor gray { 142, 142, 147 };
    /// Main texts on the black field.
    inline constexpr QColor white { 255, 255, 255 };
} // namespace colors

/// The dark palette of every window: Fusion's roles filled with a dark desktop's greys.
QPalette darkPalette();

/// `base` with its window colour set to the black of the orrery's field.
QPalette blackFieldPalette(QPalette base);

} // namespace heliora
