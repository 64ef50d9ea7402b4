#pragma once

namespace heliora {

/// Makes SIGINT and SIGTERM end the event loop normally (QCoreApplication::quit), so that a terminal's Ctrl+C
/// or a session's logout runs the same shut-down as closing the last window. The signal handler only writes to
/// a pipe; the quit happens on the main thread when the event loop reads it. Call once, after the application
/// object exists. Returns false (and changes nothing) when the pipe cannot be made.
bool quitOnTerminationSignals();

} // namespace heliora
