// Costs of one orrery frame: its layout (the nine orbital angles included) and its painting into an image at
// the main window's diameter, at one and two device pixels per logical pixel; and a frame of the view's glide at
// the top speed, as a window repaints it.
#include "views/orrerylayout.h"
#include "views/orrerypainter.h"
#include "views/solarsystemview.h"
#include "views/theme.h"

#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QVariantAnimation>

#include <optional>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using namespace heliora;

constexpr double date2024 = 1704067200.0;

void layoutOneFrame(benchmark::State& state)
{
    OrreryInputs inputs;
    inputs.date = date2024;
    for (auto _ : state) {
        // As the view does on every new date: the epoch in the user's zone, then the layout.
        benchmark::DoNotOptimize(layoutOrrery(inputs, referenceEpoch()));
        inputs.date += 0.5;
    }
}
BENCHMARK(layoutOneFrame);

void paintOneFrame(benchmark::State& state)
{
    const qreal ratio = static_cast<qreal>(state.range(0)) / 2;
    OrreryPaintOptions options;
    options.cacheRings = state.range(1) == 1;
    OrreryInputs inputs;
    inputs.date = date2024;
    const OrreryLayout layout = layoutOrrery(inputs, referenceEpoch());
    const int side = static_cast<int>(std::ceil(layout.bounds().width() * ratio));
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    // Cleared once: clearing belongs to whoever owns the image (in the window, the background behind the view).
    image.fill(Qt::transparent);
    for (auto _ : state) {
        QPainter painter(&image);
        painter.translate(layout.margin, layout.margin);
        paintOrrery(painter, layout, options);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
// Arguments: twice the device pixel ratio; 1 to copy the rings from their cached layer, 0 to stroke them.
BENCHMARK(paintOneFrame)->Args({ 2, 1 })->Args({ 4, 1 })->Args({ 2, 0 })->Args({ 4, 0 })->Unit(benchmark::kMicrosecond);

void paintPlanetsMovingFrame(benchmark::State& state)
{
    // A frame of a fast animation: every planet somewhere new, the pictures still cached.
    OrreryInputs inputs;
    inputs.date = date2024;
    const OrreryLayout target = layoutOrrery(inputs, referenceEpoch());
    OrreryLayout layout = target;
    QImage image(static_cast<int>(std::ceil(layout.bounds().width())),
        static_cast<int>(std::ceil(layout.bounds().width())), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    double extra = 0;
    for (auto _ : state) {
        for (std::size_t k = 0; k < layout.rings.size(); ++k)
            placePlanet(layout.rings[k], layout.centre, target.rings[k].nu, extra);
        extra += 7.3;
        QPainter painter(&image);
        painter.translate(layout.margin, layout.margin);
        paintOrrery(painter, layout);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(paintPlanetsMovingFrame)->Unit(benchmark::kMicrosecond);

// A frame of the animation at normal speed: one planet moved, only its rectangle is repainted.
void paintOnePlanetsRectangle(benchmark::State& state)
{
    const qreal ratio = static_cast<qreal>(state.range(0)) / 2;
    OrreryInputs inputs;
    inputs.date = date2024;
    OrreryLayout layout = layoutOrrery(inputs, referenceEpoch());
    const int side = static_cast<int>(std::ceil(layout.bounds().width() * ratio));
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    OrreryPaintOptions options;
    options.exposed = layout.slot(Planet::mars)->imageRect.adjusted(-2, -2, 2, 2);
    for (auto _ : state) {
        QPainter painter(&image);
        painter.translate(layout.margin, layout.margin);
        painter.setClipRect(options.exposed);
        paintOrrery(painter, layout, options);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(paintOnePlanetsRectangle)->Arg(2)->Arg(4)->Unit(benchmark::kMicrosecond);

// Keeps the paint events' regions and keeps the events themselves from a backing store that is not measured.
struct DirtyRegion : QObject {
    QRegion region;
    bool rendering = false;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Paint || rendering)
            return false;
        region += static_cast<QPaintEvent*>(event)->region();
        return true;
    }
};

// One frame of the main window's orrery at 10^8 x: the animation moves every planet (the view works out what to
// repaint), then the region is repainted as a window does, rectangle by rectangle, onto the black field of an
// opaque backing store. At the screen's pixel ratio: run with QT_SCALE_FACTOR=2 for twice the pixels.
void viewFrameAtTopSpeed(benchmark::State& state)
{
    static int argc = 1;
    static char name[] = "views_bench";
    static char* argv[] = { name, nullptr };
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(argc, argv); // left for the process's end: Qt tears down first
    Q_UNUSED(app);

    SolarSystemView view;
    view.setPalette(blackFieldPalette(view.palette()));
    view.setDiameter(400);
    double date = date2024;
    view.setDate(date);
    view.show();
    QCoreApplication::processEvents();
    auto* animation = view.findChild<QVariantAnimation*>();
    DirtyRegion dirty;
    view.installEventFilter(&dirty);
    const qreal ratio = view.devicePixelRatioF();
    QImage store(view.size() * ratio, QImage::Format_RGB32);
    store.setDevicePixelRatio(ratio);
    store.fill(Qt::black);
    int ms = 500;
    long rectangles = 0;
    double pixels = 0;
    for (auto _ : state) {
        if (ms == 500) {
            date += 5e7;
            view.setDate(date, 500);
            animation->pause();
            ms = 0;
        }
        ms = std::min(ms + 16, 500);
        dirty.region = {};
        animation->setCurrentTime(ms);
        QCoreApplication::sendPostedEvents(); // the update request: the paint event with the dirty region
        QCoreApplication::processEvents();
        dirty.rendering = true;
        view.render(&store, dirty.region.boundingRect().topLeft(), dirty.region);
        dirty.rendering = false;
        rectangles += dirty.region.rectCount();
        for (const QRect& rect : dirty.region)
            pixels += rect.width() * rect.height() * ratio * ratio;
    }
    state.counters["rectangles"]
        = benchmark::Counter(static_cast<double>(rectangles), benchmark::Counter::kAvgIterations);
    state.counters["pixels"] = benchmark::Counter(pixels, benchmark::Counter::kAvgIterations);
}
BENCHMARK(viewFrameAtTopSpeed)->Unit(benchmark::kMicrosecond);

} // namespace
