#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>

namespace heliora {

/// Why reading or writing a settings file failed, and the path that the failure is about.
struct SettingsProblem {
    enum Kind {
        None,
        NotRegularFile, ///< a folder, FIFO, device or socket (after following links)
        TooLarge, ///< more than largestSettingsFile bytes, or a write would make it so
        NotText, ///< holds a NUL byte
        CannotRead, ///< `error` says why
        ReadOnly, ///< the file exists and this user may not write it
        CannotCreateFolder,
        LockNotRegularFile, ///< "<file>.lock" is a FIFO, device, folder or link
        LockBusy, ///< another writer held the lock for the whole wait
        CannotLock, ///< the lock file cannot be opened or locked: `error` says why
        CannotWrite, ///< staging, writing, syncing or renaming failed: `error` says why (ENOSPC, EFBIG, ...)
    };
    Kind kind = None;
    int error = 0; ///< errno, where there is one
    std::string path;

    explicit operator bool() const { return kind != None; }
};

/// The bytes of a settings file, or why they cannot be had. An absent file is an empty one.
struct SettingsBytes {
    std::string bytes;
    SettingsProblem problem;
};

/// The folder that holds the user's configuration: $XDG_CONFIG_HOME when it is an absolute path (relative ones
/// are ignored, as the XDG rules say), else $HOME/.config when HOME is an absolute path; nothing otherwise.
/// Read afresh on every call; creates nothing.
std::optional<std::string> configFolder();

/// Reads a settings file in memory, through links. Only regular files are read (a FIFO or a device is opened
/// without blocking and refused), and at most largestSettingsFile bytes of them. Creates nothing.
SettingsBytes readSettingsFile(const std::string& path);

/// Sets "show_pluto" in the file at `path`, keeping every other byte (see withShowPluto in settingstext.h):
/// - a link is followed to the regular file that it names, which is replaced, not the link; an absent file is
///   created (and the folders above it, mode 0700, when `path` is not a link);
/// - writers are serialised by the WriteLock on the file, waiting at most `lockWait`;
/// - the new bytes are staged in a file beside the target, synced and renamed over it, so that a reader in any
///   process sees the old file or the new one; the target's mode (and, for root, its owner) is kept;
/// - a file that already holds the value is left untouched; a file that is not usable, read-only for this user,
///   or would grow past the limit is not written.
/// Staging files left by killed writers are removed on the way.
SettingsProblem writeShowPluto(
    const std::string& path, bool value, std::chrono::milliseconds lockWait = std::chrono::milliseconds(1000));

/// The lock that serialises the writers of one settings file: an flock(2) on "<file>.lock" beside it, the lock
/// file that QSettings' writers hold as well. The lock dies with its holder, so a killed writer blocks nobody;
/// the lock file is removed on release. The lock file is opened without following links and without blocking,
/// and must be a regular file: a FIFO or a link to a device at its place is refused at once. Waiting polls,
/// up to `wait`.
class WriteLock {
public:
    WriteLock(const std::string& file, std::chrono::milliseconds wait);
    ~WriteLock();
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;

    /// None when the lock is held.
    const SettingsProblem& problem() const { return m_problem; }

private:
    std::string m_path;
    int m_fd = -1;
    SettingsProblem m_problem;
};

/// A new, empty staging file beside `target`, ".<name>.staging-XXXXXX", created exclusively with `mode` (less
/// the umask). Only a writer that holds the WriteLock makes one, so any such file found by a lock holder was
/// left by a killed writer.
struct StagingFile {
    int fd = -1;
    std::string path;
};
std::optional<StagingFile> createStagingFile(const std::string& target, mode_t mode);

} // namespace heliora
