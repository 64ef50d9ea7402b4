#include "app/singleinstance.h"

#include "app/errorline.h"
#include "app/launchmessage.h"
#include "terminal/terminaltext.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace heliora {

using namespace std::chrono_literals;

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = other.release();
    }
    return *this;
}

FileDescriptor::~FileDescriptor()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int FileDescriptor::release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

namespace {

    const QString appId = QStringLiteral("app.heliora.Heliora");
    constexpr qsizetype maxSocketPathBytes = sizeof(sockaddr_un::sun_path) - 1;
    constexpr auto answerTimeoutForRunning = 5s;

    QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

    // A folder that only this user may enter and that is no link: nobody else can put a socket of their own
    // at our address, nor see ours.
    QString privateFolderProblem(const QString& folder)
    {
        struct stat info { };
        if (::lstat(QFile::encodeName(folder).constData(), &info) != 0)
            return QStringLiteral("%1: %2").arg(quotedForTerminal(folder), systemError(errno));
        if (!S_ISDIR(info.st_mode))
            return QStringLiteral("%1 is not a folder").arg(quotedForTerminal(folder));
        if (info.st_uid != ::geteuid())
            return QStringLiteral("the folder %1 belongs to another user").arg(quotedForTerminal(folder));
        if ((info.st_mode & 077) != 0)
            return QStringLiteral("other users may enter the folder %1").arg(quotedForTerminal(folder));
        return {};
    }

    bool isAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

    bool allDigits(QStringView text) { return !text.isEmpty() && std::all_of(text.begin(), text.end(), isAsciiDigit); }

    // A display's plain name: letters, digits, "_", "." and "-", then ":" and a display number if any.
    bool isPlainDisplayName(QStringView name)
    {
        const qsizetype colon = name.lastIndexOf(QLatin1Char(':'));
        if (colon >= 0 && !allDigits(name.mid(colon + 1)))
            return false;
        const QStringView host = colon >= 0 ? name.left(colon) : name;
        return std::all_of(host.begin(), host.end(), [](QChar c) {
            return (c.unicode() < 128 && c.isLetterOrNumber()) || c == QLatin1Char('_') || c == QLatin1Char('.')
                || c == QLatin1Char('-');
        });
    }

    // The display's part of the socket's name. X11's screen number names a screen of the same display. Plain
    // string work: a regular expression here would load its library into every start.
    QString displayKey()
    {
        QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
        QString kind = QStringLiteral("wayland");
        if (display.isEmpty()) {
            display = qEnvironmentVariable("DISPLAY");
            kind = QStringLiteral("x11");
            // ":0.1" is screen 1 of ":0".
            const qsizetype colon = display.lastIndexOf(QLatin1Char(':'));
            const qsizetype dot = colon >= 0 ? display.indexOf(QLatin1Char('.'), colon) : -1;
            if (dot > colon && allDigits(QStringView(display).mid(colon + 1, dot - colon - 1))
                && allDigits(QStringView(display).mid(dot + 1)))
                display.truncate(dot);
        }
        if (display.isEmpty())
            return QStringLiteral("none");
        // ":0" gives "x11-0", "host:10" "x11-host_10", "wayland-1" "wayland-wayland-1".
        const QStringView name = QStringView(display).mid(display.startsWith(QLatin1Char(':')) ? 1 : 0);
        if (!name.isEmpty() && isPlainDisplayName(name) && display.size() <= 40)
            return kind + QLatin1Char('-') + name.toString().replace(QLatin1Char(':'), QLatin1Char('_'));
        // A path or an odd name: a digest keeps the file name short and free of separators.
        const QByteArray digest = QCryptographicHash::hash(display.toUtf8(), QCryptographicHash::Sha256).toHex();
        return kind + QLatin1Char('-') + QString::fromLatin1(digest.left(16));
    }

    std::optional<InstanceAddress> addressIn(const QString& folder, QString* problem)
    {
        const QString base = folder + QLatin1Char('/') + appId + QLatin1Char('.') + displayKey();
        InstanceAddress address { base + QStringLiteral(".socket"), base + QStringLiteral(".lock") };
        if (QFile::encodeName(address.socketPath).size() > maxSocketPathBytes) {
            *problem = QStringLiteral("the path %1 is too long for a local socket")
                           .arg(quotedForTerminal(address.socketPath));
            return std::nullopt;
        }
        return address;
    }

    // connect() on a fresh local socket; the descriptor, or an invalid one with errno set.
    FileDescriptor connectTo(const QByteArray& path)
    {
        FileDescriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
        if (!fd)
            return fd;
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
        // A full queue means a live but busy Heliora: try again for a moment rather than take its place.
        for (int attempt = 0; attempt < 200; ++attempt) {
            if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
                return fd;
            if (errno != EAGAIN)
                break;
            std::this_thread::sleep_for(10ms);
        }
        const int error = errno;
        fd = FileDescriptor();
        errno = error;
        return fd;
    }

    FileDescriptor listenAt(const QByteArray& path, QString* problem)
    {
        FileDescriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
        if (!fd) {
            *problem = QStringLiteral("cannot make a local socket: %1").arg(systemError(errno));
            return fd;
        }
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
        // The socket file is made for this user alone from the start (the folder already keeps others out).
        const mode_t oldMask = ::umask(077);
        const int bound = ::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
        const int error = errno;
        ::umask(oldMask);
        if (bound != 0 || ::listen(fd.get(), 64) != 0) {
            *problem = QStringLiteral("cannot listen at %1: %2")
                           .arg(quotedForTerminal(QFile::decodeName(path)), systemError(bound != 0 ? error : errno));
            return FileDescriptor();
        }
        return fd;
    }

    InstanceClaim alone(const QString& problem) { return { InstanceClaim::Outcome::alone, FileDescriptor(), problem }; }

    bool lockWithin(int fd, std::chrono::milliseconds timeout)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= deadline)
                return false;
            std::this_thread::sleep_for(2ms);
        }
        return true;
    }

} // namespace

std::optional<InstanceAddress> instanceAddress(QString* problem)
{
    // The session's own runtime folder when it is what it should be; the XDG rules ask for a fallback otherwise.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && privateFolderProblem(runtime).isEmpty()) {
        QString ignored;
        if (std::optional<InstanceAddress> address = addressIn(QDir::cleanPath(runtime), &ignored))
            return address;
    }
    const QString folder = QDir::cleanPath(QDir::tempPath()) + QLatin1Char('/') + appId + QLatin1Char('-')
        + QString::number(::geteuid());
    if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST) {
        *problem = QStringLiteral("cannot make the folder %1: %2").arg(quotedForTerminal(folder), systemError(errno));
        return std::nullopt;
    }
    if (QString folderProblem = privateFolderProblem(folder); !folderProblem.isEmpty()) {
        *problem = folderProblem;
        return std::nullopt;
    }
    return addressIn(folder, problem);
}

bool peerIsThisUser(int socket)
{
    ucred peer {};
    socklen_t size = sizeof peer;
    return ::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && size == sizeof peer
        && peer.uid == ::geteuid();
}

InstanceClaim claimInstance(const InstanceAddress& address, std::chrono::milliseconds lockTimeout)
{
    const QByteArray lockPath = QFile::encodeName(address.lockPath);
    const QByteArray socketPath = QFile::encodeName(address.socketPath);

    // O_NONBLOCK: a FIFO in the lock's place must not block the start.
    const FileDescriptor lock(
        ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600));
    struct stat info { };
    if (!lock || ::fstat(lock.get(), &info) != 0)
        return alone(
            QStringLiteral("cannot open the lock %1: %2").arg(quotedForTerminal(address.lockPath), systemError(errno)));
    if (!S_ISREG(info.st_mode))
        return alone(QStringLiteral("the lock %1 is not a file").arg(quotedForTerminal(address.lockPath)));
    if (!lockWithin(lock.get(), lockTimeout))
        return alone(QStringLiteral("the lock %1 stayed taken").arg(quotedForTerminal(address.lockPath)));

    FileDescriptor connection = connectTo(socketPath);
    if (connection) {
        if (!peerIsThisUser(connection.get()))
            return alone(
                QStringLiteral("the socket %1 belongs to another user").arg(quotedForTerminal(address.socketPath)));
        return { InstanceClaim::Outcome::running, std::move(connection), {} };
    }
    if (errno != ECONNREFUSED && errno != ENOENT)
        return alone(
            QStringLiteral("cannot reach %1: %2").arg(quotedForTerminal(address.socketPath), systemError(errno)));

    // Nothing listens: a socket file here was left by a run that ended without removing it. Anything else in
    // its place is not ours to delete.
    if (::lstat(socketPath.constData(), &info) == 0) {
        if (!S_ISSOCK(info.st_mode))
            return alone(QStringLiteral("%1 is not a socket").arg(quotedForTerminal(address.socketPath)));
        ::unlink(socketPath.constData());
    }
    QString problem;
    FileDescriptor listening = listenAt(socketPath, &problem);
    if (!listening)
        return alone(problem);
    return { InstanceClaim::Outcome::first, std::move(listening), {} };
}

HandOver handOver(FileDescriptor connection, const QByteArray& message, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    const auto remainingMs = [deadline] {
        const auto left
            = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        return int(std::max<std::chrono::milliseconds::rep>(0, left.count()));
    };

    qsizetype written = 0;
    while (written < message.size()) {
        const ssize_t n
            = ::send(connection.get(), message.constData() + written, size_t(message.size() - written), MSG_NOSIGNAL);
        if (n > 0) {
            written += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd writable { connection.get(), POLLOUT, 0 };
            if (::poll(&writable, 1, remainingMs()) > 0)
                continue;
            return HandOver::noAnswer;
        }
        return HandOver::closed;
    }

    QByteArray answer;
    const QByteArray expected(launchTakenAnswer);
    while (answer.size() < expected.size()) {
        pollfd readable { connection.get(), POLLIN, 0 };
        const int ready = ::poll(&readable, 1, remainingMs());
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return HandOver::noAnswer;
        char buffer[8];
        const ssize_t n = ::recv(connection.get(), buffer, sizeof buffer, 0);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            return HandOver::closed;
        answer.append(buffer, n);
    }
    return answer.startsWith(expected) ? HandOver::taken : HandOver::closed;
}

QByteArray startupTokenFromEnvironment()
{
    for (const char* name : { "XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID" }) {
        const QByteArray token = qgetenv(name);
        if (token.isEmpty())
            continue;
        // Only a token that a message can carry; a broken one is dropped, not the launch.
        return encodeLaunchMessage({ {}, token }).isEmpty() ? QByteArray() : token;
    }
    return {};
}

InstanceStart startSingleInstance(const QStringList& arguments)
{
    QString problem;
    const std::optional<InstanceAddress> address = instanceAddress(&problem);
    const auto goAlone = [](const QString& why) {
        printError(QStringLiteral("later launches cannot reach this window: %1").arg(why));
        return InstanceStart {};
    };
    if (!address)
        return goAlone(problem);

    const QByteArray message = encodeLaunchMessage({ arguments, startupTokenFromEnvironment() });
    // A Heliora that ends while a later launch talks to it closes the connection unanswered: the later launch
    // then tries once more, and usually becomes the first itself.
    for (int attempt = 0; attempt < 2; ++attempt) {
        InstanceClaim claim = claimInstance(*address);
        switch (claim.outcome) {
        case InstanceClaim::Outcome::first:
            return { std::nullopt, std::move(claim.socket) };
        case InstanceClaim::Outcome::alone:
            return goAlone(claim.problem);
        case InstanceClaim::Outcome::running:
            break;
        }
        if (message.isEmpty()) {
            printError(QStringLiteral("the arguments are too long to hand to the running Heliora (at most %1 bytes)")
                           .arg(maxLaunchMessageBytes));
            return { 2, {} };
        }
        switch (handOver(std::move(claim.socket), message, answerTimeoutForRunning)) {
        case HandOver::taken:
            return { 0, {} };
        case HandOver::noAnswer:
            printError(QStringLiteral("the running Heliora did not answer within %1 s")
                           .arg(std::chrono::seconds(answerTimeoutForRunning).count()));
            return { 1, {} };
        case HandOver::closed:
            break;
        }
    }
    printError(QStringLiteral("the running Heliora closed the connection without taking the arguments"));
    return { 1, {} };
}

} // namespace heliora
