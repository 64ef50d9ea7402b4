#include "model/currentenvironment.h"

#include "model/environment.h"

#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include <sys/stat.h>

namespace heliora {

namespace {

    // An environment variable as it is now: unset and empty are different values, as environment.h treats them
    // alike but a changed variable must always count as a change.
    std::optional<std::string> variable(const char* name)
    {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    }

    // What identifies a file's contents without reading it: inode, size and modification time, of the link itself
    // and of the file that it leads to. A replaced /etc/localtime, or a link turned to another zone, differs.
    struct FileStatus {
        long long inode = -1;
        long long size = -1;
        long long seconds = -1;
        long long nanoseconds = -1;
        bool operator==(const FileStatus&) const = default;
    };

    struct FileStamp {
        FileStatus link;
        FileStatus target;
        bool operator==(const FileStamp&) const = default;
    };

    FileStatus statusOf(const struct stat& info)
    {
        return { static_cast<long long>(info.st_ino), static_cast<long long>(info.st_size),
            static_cast<long long>(info.st_mtim.tv_sec), static_cast<long long>(info.st_mtim.tv_nsec) };
    }

    FileStamp stampOf(const char* path)
    {
        FileStamp stamp;
        struct stat info { };
        if (lstat(path, &info) == 0)
            stamp.link = statusOf(info);
        if (stat(path, &info) == 0)
            stamp.target = statusOf(info);
        return stamp;
    }

    struct LocaleKey {
        std::optional<std::string> all, time, lang;
        bool operator==(const LocaleKey&) const = default;
    };

    struct ZoneKey {
        std::optional<std::string> tz;
        FileStamp localtime;
        bool operator==(const ZoneKey&) const = default;
    };

} // namespace

const icu::Locale& currentDateLocale()
{
    thread_local std::optional<LocaleKey> key;
    thread_local icu::Locale locale;
    LocaleKey now { variable("LC_ALL"), variable("LC_TIME"), variable("LANG") };
    if (now != key) {
        locale = dateLocale();
        key = std::move(now);
    }
    return locale;
}

const icu::TimeZone& currentTimeZone()
{
    thread_local std::optional<ZoneKey> key;
    thread_local std::unique_ptr<icu::TimeZone> zone;
    thread_local std::chrono::steady_clock::time_point stamped;
    // ICU takes the zone from TZ, or else resolves /etc/localtime again on every detection; so does the C library.
    // TZ is compared on every call; the file, which only an administrator changes, at most once a second (two
    // system calls on each of the main window's several calls per tick would cost more than the rest of them).
    const auto now = std::chrono::steady_clock::now();
    ZoneKey current { variable("TZ"), {} };
    const bool restamp = !key || now - stamped >= std::chrono::seconds(1);
    current.localtime = restamp ? stampOf("/etc/localtime") : key->localtime;
    if (restamp)
        stamped = now;
    if (current != key || !zone) {
        zone = userTimeZone();
        key = std::move(current);
    }
    return *zone;
}

} // namespace heliora
