#include "screenshot.h"

#include <QCoreApplication>
#include <QEvent>
#include <QImageWriter>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace heliora {

FirstFrameScreenshot::FirstFrameScreenshot(QWidget* window, QString path, int timeoutMs)
    : QObject(window)
    , m_window(window)
    , m_path(std::move(path))
{
    // The window itself may never receive a paint event when its children cover it, so the first paint of
    // anything inside it is what counts.
    QCoreApplication::instance()->installEventFilter(this);
    QTimer::singleShot(timeoutMs, this, [this] {
        if (m_scheduled)
            return;
        std::fputs("heliora: no frame was painted; no screenshot written\n", stderr);
        QCoreApplication::exit(1);
    });
}

bool FirstFrameScreenshot::eventFilter(QObject* watched, QEvent* event)
{
    // The first paint inside the window means it is laid out, polished and exposed. A frame is painted in one
    // pass, so the picture, taken from the event loop once that pass is over, shows the whole first frame.
    if (event->type() == QEvent::Paint && !m_scheduled && m_window) {
        const auto* widget = qobject_cast<const QWidget*>(watched);
        if (widget && widget->window() == m_window) {
            m_scheduled = true;
            QCoreApplication::instance()->removeEventFilter(this);
            QTimer::singleShot(0, this, &FirstFrameScreenshot::capture);
        }
    }
    return QObject::eventFilter(watched, event);
}

void FirstFrameScreenshot::capture()
{
    const bool written = m_window && write(m_window, m_path);
    QCoreApplication::exit(written ? 0 : 1);
}

bool FirstFrameScreenshot::write(QWidget* window, const QString& path)
{
    const QPixmap picture = window->grab();
    QImageWriter writer(path);
    if (picture.isNull() || !writer.write(picture.toImage())) {
        std::fprintf(stderr, "heliora: cannot write %s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

} // namespace heliora
