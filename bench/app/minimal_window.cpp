// The floor that heliora's start-up is measured against: a Qt Widgets program with one window of the same size
// showing one bold label. It links Qt Widgets alone, so that the floor carries none of heliora's libraries.
// Without arguments it runs until it is closed or sent SIGTERM (measure_app.sh times its first frame on screen);
// with --screenshot it is started and stopped as `heliora --screenshot` is: after the first paint inside the
// window, the window is rendered into the file and the program exits.
//
// usage: minimal_window [--screenshot FILE.png]

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

class FirstPaint : public QObject {
public:
    FirstPaint(QWidget* window, QString path)
        : m_window(window)
        , m_path(std::move(path))
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto* widget = qobject_cast<const QWidget*>(watched);
        if (event->type() == QEvent::Paint && widget && widget->window() == m_window) {
            QCoreApplication::instance()->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] { QCoreApplication::exit(m_window->grab().save(m_path) ? 0 : 1); });
        }
        return false;
    }

private:
    QWidget* m_window;
    QString m_path;
};

} // namespace

int main(int argc, char** argv)
{
    const bool screenshot = argc == 3 && std::strcmp(argv[1], "--screenshot") == 0;
    if (argc != 1 && !screenshot) {
        std::fputs("usage: minimal_window [--screenshot FILE.png]\n", stderr);
        return 2;
    }
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Hello"));
    QFont bold = window.font();
    bold.setBold(true);
    window.setFont(bold);
    window.setFixedSize(500, 700);
    std::unique_ptr<FirstPaint> firstPaint;
    if (screenshot)
        firstPaint = std::make_unique<FirstPaint>(&window, QString::fromLocal8Bit(argv[2]));
    window.show();
    return app.exec();
}
