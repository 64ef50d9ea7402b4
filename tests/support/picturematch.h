#pragma once

#include "artwork/artwork.h"

#include <QImage>
#include <QRectF>

#include <limits>
#include <string_view>
#include <utility>

namespace heliora::test {

/// Looks for the body's picture, fitted into `rect` (logical pixels) and rasterised at `ratio`, in `rendered` at every
/// whole device pixel within `search` of where `rect` says. Returns the best centre (logical pixels) and the mean
/// channel difference over the picture's opaque pixels there: small when it is there, unscaled and unblurred.
inline std::pair<QPointF, double> findPicture(
    const QImage& rendered, std::string_view name, const QRectF& rect, qreal ratio, int search = 3)
{
    const QImage picture = artwork::body(name, rect.size(), ratio);
    const QPointF half(picture.width() / 2.0, picture.height() / 2.0);
    std::pair<QPointF, double> best { {}, std::numeric_limits<double>::infinity() };
    for (int dy = -search; dy <= search; ++dy)
        for (int dx = -search; dx <= search; ++dx) {
            const QPoint corner = (rect.center() * ratio - half).toPoint() + QPoint(dx, dy);
            double sum = 0, count = 0;
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < picture.width(); ++x) {
                    const QRgb p = picture.pixel(x, y);
                    if (qAlpha(p) < 255 || !rendered.valid(corner + QPoint(x, y)))
                        continue;
                    const QRgb q = rendered.pixel(corner + QPoint(x, y));
                    sum += qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q));
                    count += 3;
                }
            if (count > 0 && sum / count < best.second)
                best = { (QPointF(corner) + half) / ratio, sum / count };
        }
    return best;
}

} // namespace heliora::test
