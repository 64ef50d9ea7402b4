#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

class QByteArray;

namespace heliora {

/// An owned POSIX file descriptor, closed when the object goes; moves, never copies.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd)
        : m_fd(fd)
    {
    }
    FileDescriptor(FileDescriptor&& other) noexcept
        : m_fd(other.release())
    {
    }
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor();

    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    /// Gives the descriptor up without closing it.
    int release();

private:
    int m_fd = -1;
};

/// Where the one running Heliora of a user and a display listens for later launches: a local socket, and beside
/// it a lock file that a starting run holds while it decides whether it is the first.
struct InstanceAddress {
    QString socketPath;
    QString lockPath;
};

/// The address for this user and display, from the environment: in XDG_RUNTIME_DIR when that is a folder of
/// this user that no one else may enter, otherwise in "app.heliora.Heliora-UID" in the temporary folder (TMPDIR
/// or /tmp), made for this user alone. The display is WAYLAND_DISPLAY, else DISPLAY (":0" and ":0.0" are one
/// display), else none; each display of a user has a Heliora of its own. Nothing, with the reason in
/// `problem`, when no folder fits (the temporary one belongs to someone else or others may enter it) or the path
/// is too long for a local socket.
std::optional<InstanceAddress> instanceAddress(QString* problem);

/// Whether the process at the other end of a connected local socket runs as this user.
bool peerIsThisUser(int socket);

/// The result of claimInstance().
struct InstanceClaim {
    enum class Outcome {
        first, ///< no Heliora runs here: `socket` listens at the address, for this user alone
        running, ///< a Heliora of this user listens: `socket` is connected to it
        alone, ///< neither: this run goes without links from later launches; `problem` says why
    };
    Outcome outcome = Outcome::alone;
    FileDescriptor socket;
    QString problem;
};

/// Decides, holding the lock, whether this run is the first: connects to the address first, and only when
/// nothing listens there (no socket, or one left by a run that ended without removing it) removes the old file
/// and listens. Two runs that start together cannot both become the first. Needs no QCoreApplication.
InstanceClaim claimInstance(
    const InstanceAddress& address, std::chrono::milliseconds lockTimeout = std::chrono::milliseconds(5000));

/// The outcome of handOver().
enum class HandOver {
    taken, ///< the running Heliora answered that it took the request
    closed, ///< it closed the connection without answering: it refused the message or is ending
    noAnswer, ///< no answer within the timeout
};

/// Writes the launch message on a connection to the running Heliora and waits for its answer.
HandOver handOver(FileDescriptor connection, const QByteArray& message, std::chrono::milliseconds timeout);

/// The running Heliora's answer to a launch message it took.
inline constexpr char launchTakenAnswer[] = "ok\n";

/// The startup token that a launcher handed this process (XDG_ACTIVATION_TOKEN, else DESKTOP_STARTUP_ID), if it
/// is one that a launch message can carry; else empty.
QByteArray startupTokenFromEnvironment();

/// What main() does first in a run that shows windows, before any QApplication exists.
struct InstanceStart {
    /// Set when this run is over: 0 when the running Heliora took `arguments`; 1 when it did not answer or
    /// refused twice; 2 when they are too long to hand over. One error line on stderr for each failure.
    std::optional<int> exitStatus;
    /// The first run's listening socket, for the LinkRouter; invalid when this run goes alone.
    FileDescriptor listeningSocket;
};

/// Claims the address of this user and display: the first run gets the listening socket; a later run hands
/// its arguments and startup token to the running one and is done. A run that can do neither (no usable
/// folder, a broken lock) goes alone, with one error line.
InstanceStart startSingleInstance(const QStringList& arguments);

} // namespace heliora
