// Watches what reaches an X server's screen, with the X DAMAGE extension, for the whole-process benchmarks.
//
// Without a compositor every drawing into any window is drawing onto the screen, and shows as damage to the root
// window. A program's frame arrives as a burst of drawing requests (one image put per repainted rectangle) that
// the server takes within a millisecond or two; successive frames lie at least several milliseconds apart. So the
// damage events, stamped with the server's time, are grouped into frames: an event more than GAP_MS after the
// previous one starts a new frame. Run it on a server of its own, with one program on it.
//
// usage:
//   damage_frames count SECONDS [GAP_MS]
//       counts for SECONDS, then prints {"frames", "seconds", "fps", "rectangles"}; GAP_MS defaults to 4.
//   damage_frames first-frame SETTLE_SECONDS COMMAND [ARGUMENTS...]
//       starts COMMAND and prints {"first_frame_ms", "rss_at_first_frame_kb", "peak_rss_kb", "cpu_ms"}: the time
//       from starting it to its first damage on the screen, its peak resident memory when that frame arrived and
//       SETTLE_SECONDS later (work done just after the first frame included), and the CPU time that it used in
//       all; then ends it with SIGTERM. Exits 1 when no frame arrives within 30 s.

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Watch {
    Display* display = nullptr;
    int damageEvent = 0;
};

bool openWatch(Watch& watch)
{
    watch.display = XOpenDisplay(nullptr);
    if (!watch.display) {
        std::fputs("damage_frames: cannot open the display\n", stderr);
        return false;
    }
    int damageError = 0;
    if (!XDamageQueryExtension(watch.display, &watch.damageEvent, &damageError)) {
        std::fputs("damage_frames: the server has no DAMAGE extension\n", stderr);
        return false;
    }
    XDamageCreate(watch.display, DefaultRootWindow(watch.display), XDamageReportRawRectangles);
    // A new damage object first reports the whole window as damaged; that is no frame. The report arrives before
    // the reply that XSync waits for, so it is in the queue now.
    XSync(watch.display, False);
    while (XPending(watch.display) > 0) {
        XEvent event;
        XNextEvent(watch.display, &event);
    }
    return true;
}

// Waits for the next damage event until `deadline`; false when the deadline passed first.
bool nextDamage(Watch& watch, Clock::time_point deadline, XDamageNotifyEvent& damage)
{
    while (true) {
        while (XPending(watch.display) > 0) {
            XEvent event;
            XNextEvent(watch.display, &event);
            if (event.type == watch.damageEvent + XDamageNotify) {
                damage = *reinterpret_cast<XDamageNotifyEvent*>(&event);
                return true;
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        pollfd fd { ConnectionNumber(watch.display), POLLIN, 0 };
        if (poll(&fd, 1, static_cast<int>(left)) < 0 && errno != EINTR)
            return false;
    }
}

int count(double seconds, double gapMs)
{
    Watch watch;
    if (!openWatch(watch))
        return 2;
    const auto start = Clock::now();
    const auto deadline = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    long frames = 0;
    long rectangles = 0;
    Time last = 0;
    XDamageNotifyEvent damage;
    while (nextDamage(watch, deadline, damage)) {
        ++rectangles;
        if (frames == 0 || damage.timestamp - last > static_cast<Time>(gapMs))
            ++frames;
        last = damage.timestamp;
    }
    std::printf("{\"frames\": %ld, \"seconds\": %.3f, \"fps\": %.2f, \"rectangles\": %ld}\n", frames, seconds,
        static_cast<double>(frames) / seconds, rectangles);
    return 0;
}

long peakResidentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

int firstFrame(double settleSeconds, char** command)
{
    Watch watch;
    if (!openWatch(watch))
        return 2;
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child < 0)
        return 2;
    if (child == 0) {
        close(ConnectionNumber(watch.display));
        execvp(command[0], command);
        std::fprintf(stderr, "damage_frames: cannot run %s: %s\n", command[0], std::strerror(errno));
        _exit(127);
    }
    XDamageNotifyEvent damage;
    const bool arrived = nextDamage(watch, start + std::chrono::seconds(30), damage);
    const double firstMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    const long rssAtFirst = peakResidentKb(child);
    if (arrived) {
        // Keep taking events while the program settles, so that the server never waits for this client.
        const auto settled
            = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(settleSeconds));
        while (nextDamage(watch, settled, damage)) { }
    }
    const long peak = peakResidentKb(child);
    kill(child, SIGTERM);
    int status = 0;
    rusage usage {};
    wait4(child, &status, 0, &usage);
    if (!arrived) {
        std::fputs("damage_frames: no frame within 30 s\n", stderr);
        return 1;
    }
    const double cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
    std::printf("{\"first_frame_ms\": %.2f, \"rss_at_first_frame_kb\": %ld, \"peak_rss_kb\": %ld, \"cpu_ms\": %.1f}\n",
        firstMs, rssAtFirst, peak, cpuMs);
    return 0;
}

int usage()
{
    std::fputs("usage: damage_frames count SECONDS [GAP_MS]\n"
               "       damage_frames first-frame SETTLE_SECONDS COMMAND [ARGUMENTS...]\n",
        stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "count") == 0) {
        const double seconds = std::atof(argv[2]);
        const double gap = argc >= 4 ? std::atof(argv[3]) : 4.0;
        return seconds > 0 && gap >= 0 ? count(seconds, gap) : usage();
    }
    if (argc >= 4 && std::strcmp(argv[1], "first-frame") == 0) {
        const double settle = std::atof(argv[2]);
        return settle >= 0 ? firstFrame(settle, argv + 3) : usage();
    }
    return usage();
}
