#pragma once

#include <functional>

class QObject;

namespace heliora {

/// Turns SIGTERM, SIGHUP and SIGINT into a call of `onSignal` with the signal's number, made from the event loop
/// on the main thread, so that a session's logout, a closed terminal or Ctrl+C can run the same shut-down as
/// closing the last window. SIGHUP and SIGINT that this process started with ignored (nohup; a script's
/// background job) stay ignored. Several signals before the loop reads them make one call, with the first.
///
/// The handler only writes the number to a socket. When `context` is destroyed the three signals get their
/// default action back (end the process); a later call of this function replaces the callback. Returns false (and
/// changes nothing) when the socket cannot be made.
/// Signals that the handlers take are unblocked, so a mask inherited from the parent cannot hold them back.
bool handleTerminationSignals(QObject* context, std::function<void(int signal)> onSignal);

/// The first signal that the handlers took since they were installed, at once, without waiting for the event
/// loop (0: none yet, or no handlers). Lets a
/// step that is about to report success see that it was asked to stop first.
int receivedTerminationSignal();

} // namespace heliora
