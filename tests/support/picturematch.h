#pragma once

#include "artwork.h"

#include <QImage>
#include <QPointF>
#include <QRectF>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string_view>

namespace heliora::test {

/// Where a body's picture was found in a rendered image.
struct PictureMatch {
    QPointF centre; ///< logical pixels
    double error = std::numeric_limits<double>::infinity(); ///< mean channel difference over the opaque pixels
};

/// Looks for the body's picture, fitted into `imageRect` (logical pixels) and rasterised at `ratio`, in `rendered`
/// (a device-pixel image), trying every whole-pixel position within `search` device pixels of where the rectangle
/// says. Only the picture's opaque pixels are compared, so rings and neighbours showing through its translucent
/// rim do not matter. A small error means the picture is there, unscaled and unblurred.
inline PictureMatch findPicture(
    const QImage& rendered, std::string_view imageName, const QRectF& imageRect, qreal ratio, int search = 3)
{
    const QImage picture = artwork::body(imageName, imageRect.size(), ratio).convertToFormat(QImage::Format_ARGB32);
    const QImage image = rendered.convertToFormat(QImage::Format_ARGB32);
    PictureMatch best;
    if (picture.isNull())
        return best;
    const double expectedLeft = imageRect.center().x() * ratio - picture.width() / 2.0;
    const double expectedTop = imageRect.center().y() * ratio - picture.height() / 2.0;
    const int baseX = static_cast<int>(std::lround(expectedLeft));
    const int baseY = static_cast<int>(std::lround(expectedTop));
    for (int dy = -search; dy <= search; ++dy) {
        for (int dx = -search; dx <= search; ++dx) {
            long long sum = 0;
            long long count = 0;
            for (int y = 0; y < picture.height(); ++y) {
                for (int x = 0; x < picture.width(); ++x) {
                    const QRgb p = picture.pixel(x, y);
                    const int ix = baseX + dx + x;
                    const int iy = baseY + dy + y;
                    if (qAlpha(p) != 255 || !image.valid(ix, iy))
                        continue;
                    const QRgb q = image.pixel(ix, iy);
                    sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q))
                        + std::abs(qBlue(p) - qBlue(q));
                    count += 3;
                }
            }
            if (count == 0)
                continue;
            const double error = static_cast<double>(sum) / static_cast<double>(count);
            if (error < best.error) {
                best.error = error;
                best.centre = QPointF(
                    (baseX + dx + picture.width() / 2.0) / ratio, (baseY + dy + picture.height() / 2.0) / ratio);
            }
        }
    }
    return best;
}

} // namespace heliora::test
