#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

namespace heliora {

/// A value type: what a later `heliora` hands to the one already running, its command-line arguments (read by
/// the running one as its own command line, so a link arrives after "--" as it would at start-up) and the
/// launcher's startup token (DESKTOP_STARTUP_ID or XDG_ACTIVATION_TOKEN; empty when there is none).
struct LaunchRequest {
    QStringList arguments;
    QByteArray startupToken;

    friend bool operator==(const LaunchRequest&, const LaunchRequest&) = default;
};

/// The most bytes one launch message may have, terminator included. Anything longer is not a launch message.
inline constexpr qsizetype maxLaunchMessageBytes = 4096;
/// The most bytes of a startup token.
inline constexpr qsizetype maxStartupTokenBytes = 256;

/// The launch message of a request, as one connection carries it:
///
///     "heliora-launch/1" NUL  { field NUL }  NUL
///     field = "a" argument (UTF-8)  |  "t" startup token (printable ASCII, no space, at most once)
///
/// The empty field ends the message. Neither an argument nor an environment value can hold a NUL byte, so no
/// escaping is needed. Empty when the message would be longer than maxLaunchMessageBytes or the token is not
/// one that decodeLaunchMessage() accepts.
QByteArray encodeLaunchMessage(const LaunchRequest& request);

/// How far the bytes received so far on one connection make a launch message.
enum class LaunchMessageState {
    incomplete, ///< a beginning of a valid message: wait for more
    complete, ///< exactly one valid message, and nothing after it
    malformed, ///< not a launch message, however it might go on: drop the connection
};

struct DecodedLaunch {
    LaunchMessageState state = LaunchMessageState::incomplete;
    LaunchRequest request; ///< filled when complete
};

/// Reads the bytes that one connection has delivered so far. Malformed: bytes that no valid message starts with
/// (found as soon as they arrive), an unknown field, an argument that is not UTF-8, a token that is empty,
/// too long, not printable ASCII or given twice, any byte after the end, more than maxLaunchMessageBytes.
DecodedLaunch decodeLaunchMessage(QByteArrayView bytes);

} // namespace heliora
