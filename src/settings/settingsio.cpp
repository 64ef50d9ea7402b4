#include "settings/settingsio.h"

#include "settings/settingstext.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <thread>
#include <utility>

namespace heliora {

namespace {

    using Clock = std::chrono::steady_clock;

    // The kernel follows at most 40 links in one path; a longer chain is a loop for us too.
    constexpr int mostLinksFollowed = 40;
    constexpr std::string_view stagingInfix = ".staging-";
    constexpr std::size_t stagingSuffixLength = 6;

    SettingsProblem failure(SettingsProblem::Kind kind, std::string path, int error = 0)
    {
        return { kind, error, std::move(path) };
    }

    // A descriptor that is closed on every way out.
    class FileDescriptor {
    public:
        explicit FileDescriptor(int fd = -1)
            : m_fd(fd)
        {
        }
        ~FileDescriptor()
        {
            if (m_fd >= 0)
                ::close(m_fd);
        }
        FileDescriptor(const FileDescriptor&) = delete;
        FileDescriptor& operator=(const FileDescriptor&) = delete;
        int get() const { return m_fd; }
        int release() { return std::exchange(m_fd, -1); }

    private:
        int m_fd;
    };

    std::string folderOf(const std::string& path)
    {
        const std::size_t slash = path.rfind('/');
        if (slash == std::string::npos)
            return ".";
        return slash == 0 ? "/" : path.substr(0, slash);
    }

    std::string nameOf(const std::string& path)
    {
        const std::size_t slash = path.rfind('/');
        return slash == std::string::npos ? path : path.substr(slash + 1);
    }

    std::string withoutTrailingSlashes(std::string path)
    {
        while (path.size() > 1 && path.back() == '/')
            path.pop_back();
        return path;
    }

    std::string stagingPrefix(const std::string& target) { return "." + nameOf(target) + std::string(stagingInfix); }

    char randomNameCharacter(unsigned value)
    {
        constexpr std::string_view alphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        return alphabet[value % alphabet.size()];
    }

    bool isStagingSuffix(std::string_view suffix)
    {
        if (suffix.size() != stagingSuffixLength)
            return false;
        for (const char c : suffix) {
            if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
                return false;
        }
        return true;
    }

    // Names are only hard to guess, not secret: O_EXCL makes the file ours whatever its name. Without the kernel's
    // random bytes, the process id, the clock and a counter still differ between attempts.
    std::string randomSuffix()
    {
        static unsigned counter = 0;
        unsigned char bytes[stagingSuffixLength] = {};
        if (getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bytes)) {
            timespec now {};
            clock_gettime(CLOCK_MONOTONIC, &now);
            unsigned mix = static_cast<unsigned>(now.tv_nsec) ^ (static_cast<unsigned>(getpid()) << 16) ^ ++counter;
            for (unsigned char& byte : bytes) {
                mix = mix * 1103515245u + 12345u;
                byte = static_cast<unsigned char>(mix >> 16);
            }
        }
        std::string suffix;
        for (const unsigned char byte : bytes)
            suffix += randomNameCharacter(byte);
        return suffix;
    }

    // Removes the staging files that killed writers left beside `target`. Only called under the write lock, when
    // no live writer has one.
    void removeStaleStagingFiles(const std::string& target)
    {
        const std::string prefix = stagingPrefix(target);
        DIR* folder = ::opendir(folderOf(target).c_str());
        if (!folder)
            return;
        while (const dirent* entry = ::readdir(folder)) {
            const std::string_view name = entry->d_name;
            if (!name.starts_with(prefix) || !isStagingSuffix(name.substr(prefix.size())))
                continue;
            struct stat info { };
            if (::fstatat(::dirfd(folder), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode))
                ::unlinkat(::dirfd(folder), entry->d_name, 0);
        }
        ::closedir(folder);
    }

    // The regular file that `path` names, following links one by one (at most as many as the kernel would).
    struct Target {
        std::string path;
        bool exists = false;
        bool throughLink = false;
        SettingsProblem problem;
    };

    Target resolveTarget(const std::string& path)
    {
        Target target;
        target.path = path;
        for (int links = 0;; ++links) {
            struct stat info { };
            if (::lstat(target.path.c_str(), &info) != 0) {
                if (errno != ENOENT)
                    target.problem = failure(SettingsProblem::CannotRead, target.path, errno);
                return target;
            }
            if (S_ISREG(info.st_mode)) {
                target.exists = true;
                return target;
            }
            if (!S_ISLNK(info.st_mode)) {
                target.problem = failure(SettingsProblem::NotRegularFile, target.path);
                return target;
            }
            if (links == mostLinksFollowed) {
                target.problem = failure(SettingsProblem::CannotRead, path, ELOOP);
                return target;
            }
            char link[PATH_MAX];
            const ssize_t length = ::readlink(target.path.c_str(), link, sizeof link);
            if (length <= 0 || static_cast<std::size_t>(length) == sizeof link) {
                target.problem = failure(SettingsProblem::CannotRead, target.path, length < 0 ? errno : ENAMETOOLONG);
                return target;
            }
            const std::string next(link, static_cast<std::size_t>(length));
            target.path = next.front() == '/' ? next : folderOf(target.path) + "/" + next;
            target.throughLink = true;
        }
    }

    // mkdir -p, one component after the other, each new folder private to the user (the XDG rule).
    SettingsProblem createFolders(const std::string& folder)
    {
        for (std::size_t at = folder.find('/', 1);; at = folder.find('/', at + 1)) {
            const std::string part = folder.substr(0, at);
            if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
                return failure(SettingsProblem::CannotCreateFolder, part, errno);
            if (at == std::string::npos)
                return {};
        }
    }

    bool writeAll(int fd, std::string_view bytes)
    {
        while (!bytes.empty()) {
            const ssize_t written = ::write(fd, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0) {
                if (written == 0)
                    errno = EIO;
                return false;
            }
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
        return true;
    }

    // Reads at most largestSettingsFile + 1 bytes: enough to see that a file is too large, never more.
    SettingsBytes readBounded(int fd, const std::string& path)
    {
        SettingsBytes result;
        struct stat info { };
        if (::fstat(fd, &info) != 0) {
            result.problem = failure(SettingsProblem::CannotRead, path, errno);
            return result;
        }
        if (!S_ISREG(info.st_mode)) {
            result.problem = failure(SettingsProblem::NotRegularFile, path);
            return result;
        }
        if (static_cast<std::size_t>(info.st_size) > largestSettingsFile) {
            result.problem = failure(SettingsProblem::TooLarge, path);
            return result;
        }
        result.bytes.resize(largestSettingsFile + 1);
        std::size_t filled = 0;
        while (filled < result.bytes.size()) {
            const ssize_t got = ::read(fd, result.bytes.data() + filled, result.bytes.size() - filled);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                result.problem = failure(SettingsProblem::CannotRead, path, errno);
                result.bytes.clear();
                return result;
            }
            if (got == 0)
                break;
            filled += static_cast<std::size_t>(got);
        }
        result.bytes.resize(filled);
        if (filled > largestSettingsFile) {
            result.problem = failure(SettingsProblem::TooLarge, path);
            result.bytes.clear();
        }
        return result;
    }

    void syncFolder(const std::string& folder)
    {
        // Makes the rename itself durable. Some file systems refuse to sync a folder; the rename stands anyway.
        const FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (fd.get() >= 0)
            ::fsync(fd.get());
    }

} // namespace

std::optional<std::string> configFolder()
{
    const char* configured = std::getenv("XDG_CONFIG_HOME");
    if (configured && configured[0] == '/')
        return withoutTrailingSlashes(configured);
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') {
        const std::string folder = withoutTrailingSlashes(home);
        return (folder == "/" ? "" : folder) + "/.config";
    }
    return std::nullopt;
}

SettingsBytes readSettingsFile(const std::string& path)
{
    // O_NONBLOCK: a FIFO at the file's place would block the open until a writer came.
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        if (errno == ENOENT)
            return {};
        return { {}, failure(SettingsProblem::CannotRead, path, errno) };
    }
    return readBounded(fd.get(), path);
}

WriteLock::WriteLock(const std::string& file, std::chrono::milliseconds wait)
    : m_path(file + ".lock")
{
    const Clock::time_point deadline = Clock::now() + wait;
    auto pause = std::chrono::milliseconds(2);
    for (;;) {
        // Nothing but a regular file is opened: a device, FIFO or socket is refused before open() can touch it,
        // and O_NOFOLLOW | O_NONBLOCK cover one that takes its place in between.
        struct stat before { };
        if (::lstat(m_path.c_str(), &before) == 0 && !S_ISREG(before.st_mode)) {
            m_problem = failure(SettingsProblem::LockNotRegularFile, m_path);
            return;
        }
        FileDescriptor fd(
            ::open(m_path.c_str(), O_RDWR | O_CREAT | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600));
        struct stat opened { };
        if (fd.get() < 0) {
            const int error = errno;
            m_problem = error == ELOOP || error == EISDIR || error == ENXIO
                ? failure(SettingsProblem::LockNotRegularFile, m_path)
                : failure(SettingsProblem::CannotLock, m_path, error);
            return;
        }
        if (::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode)) {
            m_problem = failure(SettingsProblem::LockNotRegularFile, m_path);
            return;
        }
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
            // The previous holder removes the lock file before it lets go: a lock on a file that is no longer at
            // the path locks nothing, so only a lock on the file that is there now counts.
            struct stat now { };
            if (::lstat(m_path.c_str(), &now) == 0 && now.st_dev == opened.st_dev && now.st_ino == opened.st_ino) {
                m_fd = fd.release();
                return;
            }
            pause = std::chrono::milliseconds(0);
        } else if (errno != EWOULDBLOCK && errno != EINTR) {
            m_problem = failure(SettingsProblem::CannotLock, m_path, errno);
            return;
        }
        const Clock::time_point now = Clock::now();
        if (now >= deadline) {
            m_problem = failure(SettingsProblem::LockBusy, m_path);
            return;
        }
        std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
        pause = std::min(std::max(pause * 2, std::chrono::milliseconds(2)), std::chrono::milliseconds(50));
    }
}

WriteLock::~WriteLock()
{
    if (m_fd < 0)
        return;
    // Removed while still locked, so that a waiter that opened this file notices that it went away.
    ::unlink(m_path.c_str());
    ::close(m_fd);
}

std::optional<StagingFile> createStagingFile(const std::string& target, mode_t mode)
{
    const std::string base = folderOf(target) + "/" + stagingPrefix(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = base + randomSuffix();
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, mode);
        if (fd >= 0)
            return StagingFile { fd, std::move(path) };
        if (errno != EEXIST)
            return std::nullopt;
    }
    return std::nullopt;
}

SettingsProblem writeShowPluto(const std::string& path, bool value, std::chrono::milliseconds lockWait)
{
    const Target target = resolveTarget(path);
    if (target.problem)
        return target.problem;
    const std::string folder = folderOf(target.path);
    if (!target.exists && !target.throughLink) {
        if (const SettingsProblem failed = createFolders(folder))
            return failed;
    }
    const WriteLock lock(target.path, lockWait);
    if (lock.problem())
        return lock.problem();
    removeStaleStagingFiles(target.path);

    // Read again under the lock: the bytes that the new file keeps are the ones that are there now.
    struct stat current { };
    SettingsBytes old;
    bool exists = false;
    {
        const FileDescriptor fd(::open(target.path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
        if (fd.get() >= 0) {
            exists = ::fstat(fd.get(), &current) == 0;
            old = readBounded(fd.get(), target.path);
        } else if (errno == ELOOP) {
            old.problem = failure(SettingsProblem::NotRegularFile, target.path);
        } else if (errno != ENOENT) {
            old.problem = failure(SettingsProblem::CannotRead, target.path, errno);
        }
    }
    if (old.problem)
        return old.problem;
    const std::optional<std::string> next = withShowPluto(old.bytes, value);
    if (!next) {
        const bool nul = old.bytes.find('\0') != std::string::npos;
        return failure(nul ? SettingsProblem::NotText : SettingsProblem::TooLarge, target.path);
    }
    if (exists && *next == old.bytes)
        return {};
    if (exists) {
        // A file that this user may not write is left alone, although the folder would let us replace it.
        const FileDescriptor writable(::open(target.path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (writable.get() < 0)
            return failure(SettingsProblem::ReadOnly, target.path, errno);
    }

    // A new file gets the usual mode less the umask; an existing one is staged private and then given its mode.
    const std::optional<StagingFile> staging = createStagingFile(target.path, exists ? 0600 : 0666);
    if (!staging)
        return failure(SettingsProblem::CannotWrite, target.path, errno);
    FileDescriptor fd(staging->fd);
    const auto fail = [&](int error) {
        ::unlink(staging->path.c_str());
        return failure(SettingsProblem::CannotWrite, target.path, error);
    };
    if (exists) {
        // Root rewriting a user's file keeps it the user's; anyone else keeps at least the group where allowed.
        // Where neither is allowed, the file is ours, as any file that we create.
        [[maybe_unused]] const bool ownerKept = ::fchown(fd.get(), current.st_uid, current.st_gid) == 0
            || ::fchown(fd.get(), static_cast<uid_t>(-1), current.st_gid) == 0;
        if (::fchmod(fd.get(), current.st_mode & 07777) != 0)
            return fail(errno);
    }
    if (!writeAll(fd.get(), *next) || ::fsync(fd.get()) != 0)
        return fail(errno);
    if (::close(fd.release()) != 0)
        return fail(errno);
    if (::rename(staging->path.c_str(), target.path.c_str()) != 0)
        return fail(errno);
    syncFolder(folder);
    return {};
}

} // namespace heliora
