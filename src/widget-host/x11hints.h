#pragma once

class QWidget;

namespace heliora::host {

/// Marks a top-level window, before it is first shown, the way a desktop widget is kept on X11: on every virtual
/// desktop (_NET_WM_DESKTOP 0xFFFFFFFF, _NET_WM_STATE_STICKY) and left out of task bars and pagers
/// (_NET_WM_STATE_SKIP_TASKBAR, _NET_WM_STATE_SKIP_PAGER). Staying below other windows comes from Qt's
/// Qt::WindowStaysOnBottomHint, which Qt adds to the same _NET_WM_STATE list when it maps the window (Qt keeps
/// states set before mapping). Does nothing on another platform (Wayland has no such hints for clients).
/// Returns whether the hints were set.
bool markAsDesktopWidget(QWidget* window);

} // namespace heliora::host
