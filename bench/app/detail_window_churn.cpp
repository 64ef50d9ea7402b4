// Opens and closes fact windows, one at a time, the way a user would, and reports the process's resident memory
// before any window, after one window of every body (fonts, pictures and styles loaded) and after the cycles.
// A window that closes must give back what it took, so the last figure should be within a few per cent of the
// second.
//
// usage: detail_window_churn [CYCLES]      (default 1000; QT_QPA_PLATFORM chooses offscreen or xcb)
// prints one JSON object: cycles, rss_start_kb, rss_warm_kb, rss_end_kb, rss_end_trimmed_kb, growth_percent,
// ms_per_cycle.

#include "app/appearance.h"
#include "app/detailwindowcontroller.h"
#include "residentmemory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <malloc.h>
#include <string>

namespace {

// One cycle: open the window, let it be exposed and painted, close it, let the deferred deletion run. Between
// cycles nothing of the window may remain.
bool cycle(const heliora::SolarSystemObject& object)
{
    QPointer<heliora::DetailWindowController> window = heliora::DetailWindowController::forBody(object);
    window->show();
    QElapsedTimer waited;
    waited.start();
    while (window && !(window->windowHandle() && window->windowHandle()->isExposed()) && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QCoreApplication::processEvents();
    if (!window)
        return false;
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    return window.isNull();
}

} // namespace

int main(int argc, char** argv)
{
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 1000;
    if (cycles <= 0) {
        std::fputs("usage: detail_window_churn [CYCLES]\n", stderr);
        return 2;
    }
    QApplication app(argc, argv);
    heliora::applyDarkAppearance(app);
    // Opening and closing windows must not end the application.
    QApplication::setQuitOnLastWindowClosed(false);

    const long start = residentKb();
    const auto bodies = heliora::allSolarSystemObjects();
    for (const heliora::SolarSystemObject& body : bodies) {
        if (!cycle(body))
            return 1;
    }
    const long warm = residentKb();

    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < cycles; ++i) {
        if (!cycle(bodies[static_cast<std::size_t>(i) % bodies.size()])) {
            std::fprintf(stderr, "detail_window_churn: window %d was not freed\n", i);
            return 1;
        }
    }
    const double msPerCycle = static_cast<double>(timer.elapsed()) / cycles;
    const long end = residentKb();
    malloc_trim(0);
    const long trimmed = residentKb();

    std::printf("{\"cycles\": %d, \"rss_start_kb\": %ld, \"rss_warm_kb\": %ld, \"rss_end_kb\": %ld, "
                "\"rss_end_trimmed_kb\": %ld, \"growth_percent\": %.2f, \"ms_per_cycle\": %.2f}\n",
        cycles, start, warm, end, trimmed, 100.0 * static_cast<double>(end - warm) / static_cast<double>(warm),
        msPerCycle);
    return 0;
}
