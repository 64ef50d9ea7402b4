#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace heliora {

/// Calls `action` once, from the event loop, as soon as the first frame of `window` has been painted: the first
/// paint of anything inside the window (the window itself may never paint when its children cover it). A frame
/// is painted in one pass, so the action sees the whole frame. Nothing happens if the window goes away first.
/// Watch the window before showing it: it may paint while it is being shown.
void afterFirstFrame(QWidget* window, std::function<void()> action);

/// Renders the window anew into an image of its size at its device pixel ratio (so the picture does not depend
/// on the platform's window surface: offscreen and xcb give the same result) and writes it in the format that
/// the file's suffix names. False, with a line on stderr, when the file cannot be written.
bool writeScreenshot(QWidget* window, const QString& path);

/// Writes the window's first frame to `path` and ends the event loop: exit status 0 when the picture was
/// written, 1 when it could not be, also when no frame was painted within `timeoutMs`.
void screenshotAfterFirstFrame(QWidget* window, const QString& path, int timeoutMs = 30000);

} // namespace heliora
