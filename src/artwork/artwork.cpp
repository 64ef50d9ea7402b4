#include "artwork/artwork.h"

#include <QCache>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>
#include <functional>
#include <memory>

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

QImage body(std::string_view imageName, const QSizeF& size, qreal devicePixelRatio)
{
    QSvgRenderer* svg = renderer(imageName, false);
    if (!svg || !usable(size, devicePixelRatio))
        return {};
    const QSizeF fitted = svg->viewBoxF().size().scaled(size, Qt::KeepAspectRatio);
    const QSize pixels = devicePixels(fitted, devicePixelRatio);
    const QString key = QStringLiteral("body/%1/%2x%3@%4")
                            .arg(QString::fromUtf8(imageName.data(), static_cast<qsizetype>(imageName.size())))
                            .arg(pixels.width())
                            .arg(pixels.height())
                            .arg(devicePixelRatio);
    return cached(key, [&] { return rasterise(svg, pixels, devicePixelRatio); });
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
