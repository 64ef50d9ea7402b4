#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace heliora {

/// Writes a window's first frame to a file and ends the event loop: exit status 0 when the picture was written,
/// 1 when it could not be (with a line on stderr), also when no frame was painted within `timeoutMs`.
/// The window is rendered anew into an image of its own size at its device pixel ratio, so the picture does not
/// depend on the platform's window surface (offscreen and xcb give the same result).
class FirstFrameScreenshot : public QObject {
    Q_OBJECT
public:
    FirstFrameScreenshot(QWidget* window, QString path, int timeoutMs = 30000);

    /// Writes the window's picture now; false (with a message on stderr) when the file cannot be written.
    static bool write(QWidget* window, const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void capture();

    QPointer<QWidget> m_window;
    QString m_path;
    bool m_scheduled = false;
};

} // namespace heliora
