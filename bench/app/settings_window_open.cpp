// How long Ctrl+, takes to put the settings window on screen, and what the window costs in memory. Runs the real
// application object (main window shown, clock playing), lets it settle, then RUNS times: presses Ctrl+, on the
// main window (through Qt's shortcut handling, as a key from the window system goes), waits for the settings
// window's first painted frame, lets it settle, closes it and lets it be freed. The first run pays for what Qt
// loads once (the date field's calendar, the monospaced font, the glyphs); the later ones show the steady cost.
//
// usage: settings_window_open [RUNS]      (default 20; QT_QPA_PLATFORM chooses offscreen or xcb)
// prints one JSON object: runs, first_ms, median_ms, max_later_ms, rss_before_kb, rss_open_first_kb,
// rss_added_first_kb, rss_added_median_kb, rss_after_runs_kb.

#include "app/helioraapplication.h"
#include "app/mainwindow.h"
#include "app/settingswindow.h"
#include "residentmemory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Runs the event loop for `ms` (timers, painting, deferred deletions).
void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

/// Sees the first paint of anything in a settings window (as heliora's afterFirstFrame does, which cannot be
/// installed from inside an application event filter) and ends the wait once that painting pass is over.
class FirstFrameWatch : public QObject {
public:
    bool painted = false;

    void waitUntilPainted(int timeoutMs)
    {
        if (painted)
            return;
        QEventLoop loop;
        m_loop = &loop;
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        loop.exec();
        m_loop = nullptr;
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (painted || event->type() != QEvent::Paint || !object->isWidgetType())
            return false;
        if (!qobject_cast<heliora::SettingsWindow*>(static_cast<QWidget*>(object)->window()))
            return false;
        painted = true;
        // A frame is painted in one pass: the wait ends when the pass is over.
        QTimer::singleShot(0, this, [this] {
            if (m_loop)
                m_loop->quit();
        });
        return false;
    }

private:
    QEventLoop* m_loop = nullptr;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    heliora::prepareApplication(app);
    heliora::HelioraApplication heliora { heliora::AppOptions {} };
    if (heliora.start())
        return 1;
    heliora::MainWindow* main = heliora.mainWindow();
    if (!QTest::qWaitForWindowExposed(main))
        return 1;
    main->activateWindow();
    if (!QTest::qWaitForWindowActive(main))
        return 1;
    settle(1000);

    FirstFrameWatch watch;
    app.installEventFilter(&watch);
    const long before = residentKb();
    std::vector<double> times;
    std::vector<double> added;
    long openFirst = 0;
    for (int run = 0; run < runs; ++run) {
        watch.painted = false;
        const long rssClosed = residentKb();
        QElapsedTimer timer;
        timer.start();
        QTest::keyClick(main, Qt::Key_Comma, Qt::ControlModifier);
        watch.waitUntilPainted(10000);
        const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        if (!watch.painted || !heliora.settingsWindow()) {
            std::fprintf(stderr, "settings_window_open: the settings window was not painted\n");
            return 1;
        }
        times.push_back(ms);
        settle(300);
        const long rssOpen = residentKb();
        if (run == 0)
            openFirst = rssOpen;
        added.push_back(static_cast<double>(rssOpen - rssClosed));
        QPointer<heliora::SettingsWindow> window = heliora.settingsWindow();
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        settle(100);
        if (window) {
            std::fprintf(stderr, "settings_window_open: the closed settings window was not freed\n");
            return 1;
        }
        main->activateWindow();
        if (!QTest::qWaitForWindowActive(main))
            return 1;
    }
    const std::vector<double> later(times.begin() + 1, times.end());
    std::printf("{\"runs\": %d, \"first_ms\": %.1f, \"median_ms\": %.1f, \"max_later_ms\": %.1f, "
                "\"rss_before_kb\": %ld, \"rss_open_first_kb\": %ld, \"rss_added_first_kb\": %.0f, "
                "\"rss_added_median_kb\": %.0f, \"rss_after_runs_kb\": %ld}\n",
        runs, times.front(), median(times), later.empty() ? 0.0 : *std::max_element(later.begin(), later.end()), before,
        openFirst, added.front(), median(added), residentKb());
    return 0;
}
