#include "app/screenshot.h"

#include <QCoreApplication>
#include <QEvent>
#include <QImageWriter>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace heliora {

namespace {

    // Belongs to the watched window, so it goes with it.
    class FirstFrameWatcher : public QObject {
    public:
        FirstFrameWatcher(QWidget* window, std::function<void()> action)
            : QObject(window)
            , m_window(window)
            , m_action(std::move(action))
        {
            QCoreApplication::instance()->installEventFilter(this);
        }

    protected:
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() != QEvent::Paint)
                return false;
            const auto* widget = qobject_cast<const QWidget*>(watched);
            if (!widget || widget->window() != m_window)
                return false;
            QCoreApplication::instance()->removeEventFilter(this);
            // Run once the painting pass is over, from the event loop, not inside a paint event.
            QTimer::singleShot(0, this, [this] {
                m_action();
                deleteLater();
            });
            return false;
        }

    private:
        QWidget* m_window;
        std::function<void()> m_action;
    };

} // namespace

void afterFirstFrame(QWidget* window, std::function<void()> action)
{
    new FirstFrameWatcher(window, std::move(action));
}

bool writeScreenshot(QWidget* window, const QString& path)
{
    const QPixmap picture = window->grab();
    QImageWriter writer(path);
    if (picture.isNull() || !writer.write(picture.toImage())) {
        std::fprintf(stderr, "heliora: cannot write %s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

void screenshotAfterFirstFrame(QWidget* window, const QString& path, int timeoutMs)
{
    auto painted = std::make_shared<bool>(false);
    afterFirstFrame(window, [window, path, painted] {
        *painted = true;
        QCoreApplication::exit(writeScreenshot(window, path) ? 0 : 1);
    });
    QTimer::singleShot(timeoutMs, window, [painted] {
        if (*painted)
            return;
        std::fputs("heliora: no frame was painted; no screenshot written\n", stderr);
        QCoreApplication::exit(1);
    });
}

} // namespace heliora
