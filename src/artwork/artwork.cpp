#include "artwork/artwork.h"

#include <QCache>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QSvgRenderer>
#include <QThreadPool>

#include <chrono>
#include <cmath>
#include <functional>
#include <future>
#include <memory>
#include <optional>

namespace heliora::artwork {

namespace {

    QString resourcePath(std::string_view name, bool isGlyph)
    {
        const QString base = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
        return isGlyph ? QStringLiteral(":/glyphs/%1.svg").arg(base) : QStringLiteral(":/images/%1.svg").arg(base);
    }

    // Parsed SVG documents, one per file, kept for the life of the process (ten bodies and ten glyphs).
    QSvgRenderer* renderer(std::string_view name, bool isGlyph)
    {
        static QHash<QString, std::shared_ptr<QSvgRenderer>> renderers;
        const QString path = resourcePath(name, isGlyph);
        auto it = renderers.find(path);
        if (it == renderers.end()) {
            auto svg = std::make_shared<QSvgRenderer>(path);
            it = renderers.insert(path, svg->isValid() ? svg : nullptr);
        }
        return it->get();
    }

    // Rasterised pictures by name, device size and tint; bounded by memory (about 32 MB of pixels).
    QCache<QString, QImage>& rasterCache()
    {
        static QCache<QString, QImage> cache(32 * 1024 * 1024);
        return cache;
    }

    QImage rasterise(QSvgRenderer* svg, const QSize& devicePixels, qreal ratio)
    {
        QImage image(devicePixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        svg->render(&painter, QRectF(QPointF(0, 0), QSizeF(devicePixels)));
        painter.end();
        image.setDevicePixelRatio(ratio);
        return image;
    }

    // Body pictures being rasterised on Qt's thread pool, by cache key: asked for before they are needed, so that
    // a view's first frame finds them made while the main thread was busy with the rest of the window.
    QHash<QString, std::shared_future<QImage>>& pending()
    {
        static QHash<QString, std::shared_future<QImage>> futures;
        return futures;
    }

    // Pictures made in the background that nobody has asked for yet go to the cache, where they count against
    // its bound like any other.
    void keepFinished()
    {
        for (auto it = pending().begin(); it != pending().end();) {
            if (it->wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
                ++it;
                continue;
            }
            const QImage image = it->get();
            if (!image.isNull())
                rasterCache().insert(it.key(), new QImage(image), static_cast<qsizetype>(image.sizeInBytes()));
            it = pending().erase(it);
        }
    }

    QImage cached(const QString& key, const std::function<QImage()>& make)
    {
        if (const QImage* hit = rasterCache().object(key))
            return *hit;
        QImage image = make();
        if (!image.isNull())
            rasterCache().insert(key, new QImage(image), static_cast<qsizetype>(image.sizeInBytes()));
        return image;
    }

    QSize devicePixels(const QSizeF& logical, qreal ratio)
    {
        return QSize(std::max(1, static_cast<int>(std::lround(logical.width() * ratio))),
            std::max(1, static_cast<int>(std::lround(logical.height() * ratio))));
    }

    bool usable(const QSizeF& size, qreal ratio)
    {
        // Refuse empty, non-finite and absurd sizes rather than allocate gigabytes.
        constexpr qreal largest = 8192;
        return size.width() > 0 && size.height() > 0 && ratio > 0 && size.width() * ratio <= largest
            && size.height() * ratio <= largest;
    }

    // An icon engine that draws every pixmap it is asked for with its own paint(): nothing is kept ready-made.
    class PaintedIconEngine : public QIconEngine {
    public:
        QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
        {
            QPixmap pixmap(size);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            paint(&painter, QRect(QPoint(0, 0), size), mode, state);
            return pixmap;
        }
    };

    class GlyphIconEngine : public PaintedIconEngine {
    public:
        GlyphIconEngine(std::string name, QColor tint)
            : m_name(std::move(name))
            , m_tint(tint)
        {
        }
        void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
        {
            const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
            QColor tint = m_tint;
            if (mode == QIcon::Disabled)
                tint.setAlphaF(tint.alphaF() * 0.5f);
            const qreal side = std::min(rect.width(), rect.height());
            const QImage image = glyph(m_name, side, ratio, tint);
            painter->drawImage(
                QRectF(rect.x() + (rect.width() - side) / 2, rect.y() + (rect.height() - side) / 2, side, side), image);
        }
        QIconEngine* clone() const override { return new GlyphIconEngine(m_name, m_tint); }

    private:
        std::string m_name;
        QColor m_tint;
    };

    // The application icon, drawn from its one SVG document at whatever size the platform asks for (X11 asks for
    // a few, 16 to 128 pixels, when the window gets it). Nothing is decoded or drawn before that: the icon costs
    // neither start-up time nor the memory of ready-made pictures of every size.
    class ApplicationIconEngine : public PaintedIconEngine {
    public:
        void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override
        {
            static QSvgRenderer svg(QStringLiteral(":/desktop/heliora.svg"));
            if (!svg.isValid())
                return;
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setRenderHint(QPainter::SmoothPixmapTransform);
            svg.render(painter, fittedRect(QRectF(rect), svg.viewBoxF().size()));
            painter->restore();
        }
        QIconEngine* clone() const override { return new ApplicationIconEngine; }
    };

} // namespace

QSizeF naturalSize(std::string_view imageName)
{
    QSvgRenderer* svg = renderer(imageName, false);
    return svg ? svg->viewBoxF().size() : QSizeF();
}

QRectF fittedRect(const QRectF& box, const QSizeF& natural)
{
    if (natural.isEmpty())
        return QRectF(box.center(), QSizeF(0, 0));
    const QSizeF size = natural.scaled(box.size(), Qt::KeepAspectRatio);
    return QRectF(
        box.center().x() - size.width() / 2, box.center().y() - size.height() / 2, size.width(), size.height());
}

namespace {

    // A body picture to make: its document, its size in device pixels and its cache key.
    struct BodyRaster {
        QSvgRenderer* svg = nullptr;
        QSize pixels;
        QString key;
    };

    std::optional<BodyRaster> bodyRaster(std::string_view imageName, const QSizeF& size, qreal devicePixelRatio)
    {
        QSvgRenderer* svg = renderer(imageName, false);
        if (!svg || !usable(size, devicePixelRatio))
            return std::nullopt;
        const QSizeF fitted = svg->viewBoxF().size().scaled(size, Qt::KeepAspectRatio);
        const QSize pixels = devicePixels(fitted, devicePixelRatio);
        QString key = QStringLiteral("body/%1/%2x%3@%4")
                          .arg(QString::fromUtf8(imageName.data(), static_cast<qsizetype>(imageName.size())))
                          .arg(pixels.width())
                          .arg(pixels.height())
                          .arg(devicePixelRatio);
        return BodyRaster { svg, pixels, std::move(key) };
    }

} // namespace

void prepareBody(std::string_view imageName, const QSizeF& size, qreal devicePixelRatio)
{
    keepFinished();
    // Without an application, or with one closing down, Qt has no pool: body() makes the picture when asked.
    QThreadPool* pool = QThreadPool::globalInstance();
    const std::optional<BodyRaster> raster = bodyRaster(imageName, size, devicePixelRatio);
    if (!pool || !raster || rasterCache().contains(raster->key) || pending().contains(raster->key))
        return;
    auto task = std::make_shared<std::packaged_task<QImage()>>(
        [path = resourcePath(imageName, false), pixels = raster->pixels, devicePixelRatio] {
            // A document of its own: the kept ones belong to the main thread.
            QSvgRenderer svg(path);
            return svg.isValid() ? rasterise(&svg, pixels, devicePixelRatio) : QImage();
        });
    pending().insert(raster->key, task->get_future().share());
    pool->start([task] { (*task)(); });
}

QImage body(std::string_view imageName, const QSizeF& size, qreal devicePixelRatio)
{
    const std::optional<BodyRaster> raster = bodyRaster(imageName, size, devicePixelRatio);
    if (!raster)
        return {};
    return cached(raster->key, [&] {
        const auto it = pending().constFind(raster->key);
        if (it == pending().cend())
            return rasterise(raster->svg, raster->pixels, devicePixelRatio);
        // On its way: waiting costs less than making it again.
        QImage image = it->get();
        pending().erase(it);
        return image;
    });
}

QImage glyph(std::string_view glyphName, qreal side, qreal devicePixelRatio, const QColor& tint)
{
    QSvgRenderer* svg = renderer(glyphName, true);
    if (!svg || !usable(QSizeF(side, side), devicePixelRatio))
        return {};
    const QSize pixels = devicePixels(QSizeF(side, side), devicePixelRatio);
    const QString key = QStringLiteral("glyph/%1/%2@%3/%4")
                            .arg(QString::fromUtf8(glyphName.data(), static_cast<qsizetype>(glyphName.size())))
                            .arg(pixels.width())
                            .arg(devicePixelRatio)
                            .arg(tint.name(QColor::HexArgb));
    return cached(key, [&] {
        QImage image = rasterise(svg, pixels, devicePixelRatio);
        // Keep the glyph's coverage, replace its colour.
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(image.rect(), tint);
        return image;
    });
}

QIcon glyphIcon(std::string_view glyphName, const QColor& tint)
{
    return QIcon(new GlyphIconEngine(std::string(glyphName), tint));
}

QIcon applicationIcon() { return QIcon(new ApplicationIconEngine); }

} // namespace heliora::artwork
