#include "app/screenshot.h"

#include "app/errorline.h"
#include "terminal/terminaltext.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPixmap>
#include <QPointer>
#include <QSaveFile>
#include <QTimer>
#include <QWidget>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <sys/stat.h>

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

    QByteArray formatOf(const QString& path) { return QFileInfo(path).suffix().toLower().toLatin1(); }

    QString cannotWrite(const QString& path, const QString& reason)
    {
        return QStringLiteral("--screenshot: cannot write %1: %2").arg(quotedForTerminal(path), reason);
    }

} // namespace

QString screenshotTargetProblem(const QString& path)
{
    const QByteArray format = formatOf(path);
    if (format.isEmpty() || !QImageWriter::supportedImageFormats().contains(format)) {
        return QStringLiteral("--screenshot: %1 does not end in a picture format that Qt writes (.png, .bmp, .jpg, "
                              ".ppm ...)")
            .arg(quotedForTerminal(path));
    }
    // Looked at without opening anything: opening a FIFO for writing waits for a reader, for ever.
    const QByteArray name = QFile::encodeName(path);
    struct stat target { };
    if (::stat(name.constData(), &target) == 0) {
        if (!S_ISREG(target.st_mode))
            return QStringLiteral("--screenshot: %1 is not a regular file").arg(quotedForTerminal(path));
        return {};
    }
    const int statError = errno;
    struct stat link { };
    if (statError == ENOENT && ::lstat(name.constData(), &link) == 0)
        return QStringLiteral("--screenshot: %1 is a link to nothing").arg(quotedForTerminal(path));
    // A path that does not exist yet is a new file; a missing folder is reported when the file is written.
    if (statError == ENOENT)
        return {};
    return cannotWrite(path, QString::fromLocal8Bit(std::strerror(statError)));
}

QString screenshotSizeProblem(QWidget* window)
{
    window->ensurePolished();
    const QSize logical = window->size().expandedTo(window->minimumSize());
    const qreal ratio = window->devicePixelRatioF();
    const double pixels = std::ceil(logical.width() * ratio) * std::ceil(logical.height() * ratio);
    if (std::isfinite(pixels) && pixels <= static_cast<double>(maxScreenshotPixels))
        return {};
    return QStringLiteral("--screenshot: a picture of %1 x %2 pixels is too large (at most 64 megapixels; the device "
                          "pixel ratio is %3, see QT_SCALE_FACTOR)")
        .arg(std::ceil(logical.width() * ratio), 0, 'f', 0)
        .arg(std::ceil(logical.height() * ratio), 0, 'f', 0)
        .arg(ratio);
}

void afterFirstFrame(QWidget* window, std::function<void()> action)
{
    new FirstFrameWatcher(window, std::move(action));
}

bool writeScreenshot(QWidget* window, const QString& path)
{
    const QImage picture = window->grab().toImage();
    if (picture.isNull()) {
        printError(cannotWrite(path, QStringLiteral("the window could not be rendered")));
        return false;
    }
    // Encoded in memory first: an encoder that meets a write error mid-way reports it in its own words on
    // stderr (libpng does), and a file error is best told by the file.
    QBuffer encoded;
    encoded.open(QIODevice::WriteOnly);
    QImageWriter writer(&encoded, formatOf(path));
    if (!writer.write(picture)) {
        printError(cannotWrite(path, writer.errorString()));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        printError(cannotWrite(path, file.errorString()));
        return false;
    }
    // A write may stop short without an error (at a file size limit); the next one then tells why. Only a
    // file that holds every byte is committed; one that does not is removed when `file` goes, and the file
    // that was there before stays as it was.
    const QByteArray& bytes = encoded.data();
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 step = file.write(bytes.constData() + written, bytes.size() - written);
        if (step <= 0)
            break;
        written += step;
    }
    if (written != bytes.size() || !file.commit()) {
        printError(cannotWrite(path, file.errorString()));
        return false;
    }
    return true;
}

} // namespace heliora
