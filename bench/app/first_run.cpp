// A first heliora as a user starts it, measured as minimal_window is: it claims the single-instance address
// (the lock, a look for a running Heliora, the listening socket), builds the application with its menu bar and
// link router exactly as heliora's main() does, shows (and activates) the main window, and after the first paint
// inside it renders the window into FILE and exits. heliora --screenshot cannot stand in for this: a screenshot
// run leaves out the single-instance claim and the router.
//
// usage: first_run --screenshot FILE      (with XDG_RUNTIME_DIR set to a private folder)

#include "app/helioraapplication.h"
#include "app/mainwindow.h"
#include "app/singleinstance.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstring>

namespace {

class FirstPaint : public QObject {
public:
    explicit FirstPaint(QString path)
        : m_path(std::move(path))
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto* widget = qobject_cast<const QWidget*>(watched);
        auto* window = widget ? qobject_cast<heliora::MainWindow*>(widget->window()) : nullptr;
        if (event->type() == QEvent::Paint && window) {
            QCoreApplication::instance()->removeEventFilter(this);
            QTimer::singleShot(0, this, [this, window] {
                // What heliora queued behind its first frame (the application icon) is not start-up: dropped.
                QCoreApplication::removePostedEvents(nullptr, QEvent::MetaCall);
                QCoreApplication::exit(window->grab().save(m_path) ? 0 : 1);
            });
        }
        return false;
    }

private:
    QString m_path;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || std::strcmp(argv[1], "--screenshot") != 0) {
        std::fputs("usage: first_run --screenshot FILE\n", stderr);
        return 2;
    }
    heliora::InstanceStart instance = heliora::startSingleInstance({});
    if (instance.exitStatus || !instance.listeningSocket) {
        std::fputs(
            "first_run: another Heliora runs at this address; give this one a private XDG_RUNTIME_DIR\n", stderr);
        return 2;
    }
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    heliora::prepareApplication(app);
    heliora::HelioraApplication heliora { heliora::AppOptions {} };
    heliora.listenForLaunches(std::move(instance.listeningSocket));
    heliora.start();
    // Watching from here on sees the first frame as well (on X11 nothing is painted before the event loop runs),
    // and, watching last, is told first: the run ends before the application icon, which heliora sets just
    // after its first frame, is decoded (heliora --screenshot and minimal_window set no icon either).
    const FirstPaint firstPaint(QString::fromLocal8Bit(argv[2]));
    return QApplication::exec();
}
