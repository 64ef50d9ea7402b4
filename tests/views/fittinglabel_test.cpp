#include "views/fittinglabel.h"

#include "support/rows.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <optional>

namespace heliora {
namespace {

    using test::PrintTo;

    const QString longText = QStringLiteral("Wednesday, 31 January 2024, in the afternoon");

    FittingLabel* makeLabel(int pixels, qreal minimumScale, int width, const QString& text)
    {
        auto* label = new FittingLabel;
        QFont font = label->font();
        font.setPixelSize(pixels);
        label->setFont(font);
        label->setMinimumScaleFactor(minimumScale);
        label->setText(text);
        label->setFixedSize(width, 50);
        return label;
    }

    struct FitCase {
        const char* name;
        qreal minimumScale;
        int width;
        QString text = longText;
        double smallest; // the size the text may never be drawn below
        std::optional<double> expected = {}; // when the size is known outright
    };

    class FittingSize : public ::testing::TestWithParam<FitCase> { };

    TEST_P(FittingSize, IsAWholePixelSizeNeverBelowTheMinimum)
    {
        const FitCase& c = GetParam();
        const std::unique_ptr<FittingLabel> label(makeLabel(34, c.minimumScale, c.width, c.text));
        const double size = label->fittedPixelSize();
        EXPECT_EQ(size, std::floor(size)) << "fonts are drawn in whole pixels";
        EXPECT_GE(size, c.smallest);
        EXPECT_LE(size, 34);
        if (c.expected) {
            EXPECT_EQ(size, *c.expected);
        }
        // Above its minimum the text is shrunk just enough to fit.
        if (size > std::ceil(c.smallest)) {
            QFont font = label->font();
            font.setPixelSize(static_cast<int>(size));
            EXPECT_LE(QFontMetricsF(font).horizontalAdvance(c.text), label->contentsRect().width());
        }
    }

    const double nan = std::numeric_limits<double>::quiet_NaN();

    // clang-format off
    const FitCase fits[] = {
        { .name = "Fits", .minimumScale = 0.7, .width = 400, .text = QStringLiteral("01/31/2024"), .smallest = 34,
            .expected = 34 },
        { .name = "ShrinksToFit", .minimumScale = 0.5, .width = 420, .smallest = 17 },
        // 34 x 0.7 is 23.8: the font may not be 23 px.
        { .name = "StopsAtTheMinimumRoundedUp", .minimumScale = 0.7, .width = 40, .smallest = 23.8, .expected = 24 },
        { .name = "ExactMinimumStays", .minimumScale = 0.5, .width = 40, .smallest = 17, .expected = 17 },
        { .name = "NoMinimumStillOnePixel", .minimumScale = 0.0, .width = 1, .smallest = 1 },
        { .name = "NegativeIsNoMinimum", .minimumScale = -3.0, .width = 1, .smallest = 1 },
        { .name = "AboveOneNeverShrinks", .minimumScale = 2.0, .width = 40, .smallest = 34, .expected = 34 },
        { .name = "NotANumberNeverShrinks", .minimumScale = nan, .width = 40, .smallest = 34, .expected = 34 },
    };
    // clang-format on

    INSTANTIATE_TEST_SUITE_P(Table, FittingSize, ::testing::ValuesIn(fits), test::rowName);

    QImage render(FittingLabel& label)
    {
        QImage image(label.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::black);
        label.render(&image);
        return image;
    }

    // What is drawn, not only what is computed: at its minimum, a 34 px label draws exactly as a 24 px label that
    // never shrinks, and differs from a 23 px one.
    TEST(FittingLabel, DrawsAtItsMinimumAsAnUnshrunkLabelOfThatSize)
    {
        const std::unique_ptr<FittingLabel> shrunk(makeLabel(34, 0.7, 200, longText));
        const std::unique_ptr<FittingLabel> at24(makeLabel(24, 1.0, 200, longText));
        const std::unique_ptr<FittingLabel> at23(makeLabel(23, 1.0, 200, longText));
        EXPECT_EQ(render(*shrunk), render(*at24));
        EXPECT_NE(render(*shrunk), render(*at23));
    }

} // namespace
} // namespace heliora
