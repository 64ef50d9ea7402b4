#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace heliora {

/// The most pixels that a screenshot may have, 64 megapixels: far above any window at any usual scale
/// (Heliora's main window is 0.4 megapixels at a device pixel ratio of 1), far below what would exhaust memory.
inline constexpr qint64 maxScreenshotPixels = 64LL * 1024 * 1024;

/// Why a screenshot cannot be written to `path`, as a line for "heliora: " to start, or an empty string. The
/// path must name a regular file (or a link to one) or a new file; anything else (a folder, a FIFO, a device, a
/// dangling link) is refused before anything waits on it. Its suffix must name a picture format that Qt writes.
/// Needs no QApplication.
QString screenshotTargetProblem(const QString& path);

/// Why the picture of `window` (its size, times its device pixel ratio) would be too large, or an empty string.
/// Ask before the window is shown: showing a window that large is itself what exhausts memory.
QString screenshotSizeProblem(QWidget* window);

/// Calls `action` once, from the event loop, as soon as the first frame of `window` has been painted: the first
/// paint of anything inside the window (the window itself may never paint when its children cover it). A frame
/// is painted in one pass, so the action sees the whole frame. Nothing happens if the window goes away first.
/// Watch the window before showing it: it may paint while it is being shown.
void afterFirstFrame(QWidget* window, std::function<void()> action);

/// Renders the window anew into an image of its size at its device pixel ratio (so the picture does not depend
/// on the platform's window surface: offscreen and xcb give the same result) and writes it in the format that
/// the file's suffix names. The file appears only complete: it is written beside its place and moved there once
/// all of it is on disk, so a full disk leaves the old file (or none). False, with one line on stderr, when the
/// picture cannot be written.
bool writeScreenshot(QWidget* window, const QString& path);

} // namespace heliora
