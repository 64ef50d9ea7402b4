#pragma once

#include <QImage>
#include <QPointF>

#include <cmath>
#include <map>

namespace heliora::test {

/// The number of orbit rings around `centre` (device pixels) in a picture of an orrery on black: along each of 72
/// rays out from the centre, the runs of the rings' neutral grey are counted, and the count that most rays agree
/// on wins (a ray that crosses a planet's picture may see more or fewer).
inline int countRings(const QImage& image, QPointF centre, double radius)
{
    std::map<int, int> votes;
    for (int degrees = 0; degrees < 360; degrees += 5) {
        const double angle = degrees * M_PI / 180;
        int runs = 0;
        bool inside = false;
        for (double r = 0; r <= radius; r += 0.5) {
            const QPoint p = (centre + QPointF(r * std::cos(angle), -r * std::sin(angle))).toPoint();
            if (!image.valid(p))
                break;
            const QColor c = image.pixelColor(p);
            const bool grey = std::abs(c.red() - c.green()) < 8 && std::abs(c.red() - c.blue()) < 8 && c.red() >= 20
                && c.red() <= 110;
            if (grey && !inside)
                ++runs;
            inside = grey;
        }
        ++votes[runs];
    }
    int best = 0, bestVotes = -1;
    for (const auto& [count, n] : votes) {
        if (n > bestVotes) {
            best = count;
            bestVotes = n;
        }
    }
    return best;
}

} // namespace heliora::test
