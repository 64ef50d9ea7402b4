#pragma once

#include <QByteArray>

namespace heliora {

/// The freedesktop.org startup-notification message that ends a launch's feedback: remove: ID="startupId",
/// with a double quote or a backslash in the id escaped by a backslash.
QByteArray startupRemoveMessage(const QByteArray& startupId);

/// Tells an X11 desktop that the launch with this startup id (a later launch's DESKTOP_STARTUP_ID, which the
/// running Heliora answered) has finished, so that the launcher stops showing that something is starting. Qt does
/// this itself for the launch that started this process; a later launch ends before any window of its own
/// appears. On any other platform, or for an empty id, nothing happens.
void endStartupNotice(const QByteArray& startupId);

} // namespace heliora
