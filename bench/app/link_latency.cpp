// How long a link takes to reach the running Heliora: this program is the running Heliora (the application object
// with its main window and its link router, built as heliora's main() builds them) and starts the real heliora
// again and again with a date link, alternating two days. For each later launch it takes two times, both from just
// before the fork:
//   exit  - until the later heliora has exited (it exits once the running one answered that it took the link);
//   shown - until the running main window has painted its date label with the link's day.
// Prints the median and the worst of each, in milliseconds.
//
// usage: link_latency HELIORA [RUNS]      (under X, with XDG_RUNTIME_DIR set to a private folder)

#include "app/helioraapplication.h"
#include "app/mainwindow.h"
#include "app/singleinstance.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Sample {
    double exitMs = -1;
    double shownMs = -1;
};

/// Starts one later launch after another; each begins when the one before has both exited and been shown.
class LaterLaunches : public QObject {
public:
    LaterLaunches(QString heliora, QLabel* date, int runs)
        : m_heliora(std::move(heliora))
        , m_date(date)
        , m_runs(runs)
    {
        m_date->installEventFilter(this);
    }

    void next()
    {
        if (int(m_samples.size()) == m_runs) {
            QCoreApplication::exit(0);
            return;
        }
        const bool odd = m_samples.size() % 2;
        m_expected = odd ? QStringLiteral("01/31/2024") : QStringLiteral("01/09/1991");
        m_samples.emplace_back();
        auto* process = new QProcess(this);
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        connect(process, &QProcess::finished, this, [this, process](int status) {
            m_samples.back().exitMs = m_clock.nsecsElapsed() / 1e6;
            if (status != 0) {
                std::fprintf(stderr, "link_latency: the later heliora exited with status %d\n", status);
                QCoreApplication::exit(1);
            }
            process->deleteLater();
            maybeNext();
        });
        m_clock.start();
        process->start(m_heliora,
            { QStringLiteral("--"),
                odd ? QStringLiteral("heliora://?date=20240131") : QStringLiteral("heliora://?date=19910109") });
    }

    const std::vector<Sample>& samples() const { return m_samples; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_date && event->type() == QEvent::Paint && !m_samples.empty() && m_samples.back().shownMs < 0
            && m_date->text() == m_expected) {
            m_samples.back().shownMs = m_clock.nsecsElapsed() / 1e6;
            QTimer::singleShot(0, this, [this] { maybeNext(); });
        }
        return false;
    }

private:
    void maybeNext()
    {
        if (m_samples.back().exitMs >= 0 && m_samples.back().shownMs >= 0)
            next();
    }

    QString m_heliora;
    QLabel* m_date;
    int m_runs;
    QString m_expected;
    QElapsedTimer m_clock;
    std::vector<Sample> m_samples;
};

void report(const char* name, std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    std::printf("  %-5s median %.1f ms, best %.1f ms, worst %.1f ms (%zu launches)\n", name, median, values.front(),
        values.back(), n);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fputs("usage: link_latency HELIORA [RUNS]\n", stderr);
        return 2;
    }
    const int runs = argc == 3 ? std::max(1, std::atoi(argv[2])) : 30;

    heliora::InstanceStart instance = heliora::startSingleInstance({});
    if (instance.exitStatus || !instance.listeningSocket) {
        std::fputs(
            "link_latency: another Heliora runs at this address; give this one a private XDG_RUNTIME_DIR\n", stderr);
        return 2;
    }
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    heliora::prepareApplication(app);
    heliora::HelioraApplication heliora { heliora::AppOptions {} };
    heliora.listenForLaunches(std::move(instance.listeningSocket));
    heliora.start();

    LaterLaunches launches(
        QString::fromLocal8Bit(argv[1]), heliora.mainWindow()->findChild<QLabel*>(QStringLiteral("date")), runs);
    // A moment for the first frame and the icon, so that the launches meet a window that is settled.
    QTimer::singleShot(500, &launches, [&launches] { launches.next(); });
    const int status = QApplication::exec();
    if (status != 0)
        return status;

    std::vector<double> exits;
    std::vector<double> shown;
    for (const Sample& sample : launches.samples()) {
        exits.push_back(sample.exitMs);
        shown.push_back(sample.shownMs);
    }
    report("exit", exits);
    report("shown", shown);
    return 0;
}
