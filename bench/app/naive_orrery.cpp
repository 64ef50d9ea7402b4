// The floor that heliora's running cost is measured against: the orrery as a naive program would draw it. A
// 400 x 400 window that, on every frame, fills its black field, strokes 9 antialiased rings and fills 10 discs
// (the Sun and nine planets), animated the way heliora's main window is at its top speed: a 0.5 s tick that starts
// a linear 0.5 s animation, through which every planet glides to its place one tick later, Mercury turning about
// six and a half times per tick as at 10^8 x. It links Qt Widgets alone and caches nothing: the whole window is
// repainted on every frame of the animation.
//
// With --heartbeat-only the window keeps its 0.5 s tick but nothing moves and nothing is repainted: what any
// window with a clock costs while it waits, the reference for heliora at normal speed.
//
// usage: naive_orrery [--heartbeat-only]   (QT_QPA_PLATFORM and QT_SCALE_FACTOR choose the platform and the ratio)

#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QVariantAnimation>
#include <QWidget>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr int side = 400;
constexpr int planets = 9;
constexpr double secondsPerTick = 5e7; // 10^8 x real time, ticking twice a second

// Orbital periods in seconds, Mercury to Pluto.
constexpr std::array<double, planets> periods { 7.600544e6, 1.9414149e7, 3.1558149e7, 5.9354033e7, 3.7435566e8,
    9.2929236e8, 2.65137e9, 5.2004186e9, 7.8269412e9 };

const std::array<QColor, planets> colours { QColor(160, 160, 160), QColor(230, 200, 140), QColor(60, 130, 230),
    QColor(210, 90, 50), QColor(220, 180, 140), QColor(230, 210, 160), QColor(160, 220, 230), QColor(60, 90, 220),
    QColor(200, 170, 150) };

class NaiveOrrery : public QWidget {
public:
    explicit NaiveOrrery(bool heartbeatOnly)
    {
        setFixedSize(side, side);
        setWindowTitle(QStringLiteral("Naive orrery"));
        m_animation.setStartValue(0.0);
        m_animation.setEndValue(1.0);
        m_animation.setDuration(500);
        m_animation.setEasingCurve(QEasingCurve::Linear);
        connect(&m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
            m_date = m_tickStart + value.toDouble() * secondsPerTick;
            update();
        });
        m_tick.setTimerType(Qt::PreciseTimer);
        m_tick.setInterval(500);
        connect(&m_tick, &QTimer::timeout, this, [this, heartbeatOnly] {
            if (heartbeatOnly)
                return;
            m_tickStart = m_date;
            m_animation.stop();
            m_animation.start();
        });
        m_tick.start();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(rect(), Qt::black);
        const QPointF centre(side / 2.0, side / 2.0);
        const double spacing = side / 2.0 / (planets + 1);
        painter.setPen(QPen(QColor(64, 64, 64), 1));
        painter.setBrush(Qt::NoBrush);
        for (int i = 1; i <= planets; ++i)
            painter.drawEllipse(centre, spacing * (i + 1) - 0.5, spacing * (i + 1) - 0.5);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 190, 40));
        painter.drawEllipse(centre, spacing, spacing);
        for (int i = 0; i < planets; ++i) {
            const double angle = 2 * M_PI * std::fmod(m_date / periods[static_cast<std::size_t>(i)], 1.0);
            const double radius = spacing * (i + 2);
            painter.setBrush(colours[static_cast<std::size_t>(i)]);
            painter.drawEllipse(
                centre + QPointF(radius * std::cos(angle), -radius * std::sin(angle)), side / 24.0, side / 24.0);
        }
    }

private:
    QTimer m_tick;
    QVariantAnimation m_animation;
    double m_tickStart = 0;
    double m_date = 1.7e9;
};

} // namespace

int main(int argc, char** argv)
{
    const bool heartbeatOnly = argc == 2 && std::strcmp(argv[1], "--heartbeat-only") == 0;
    if (argc > 1 && !heartbeatOnly) {
        std::fputs("usage: naive_orrery [--heartbeat-only]\n", stderr);
        return 2;
    }
    QApplication app(argc, argv);
    NaiveOrrery window(heartbeatOnly);
    window.show();
    return app.exec();
}
