#include "cli/cliargs.h"
#include "cli/commands.h"

#include "model/environment.h"
#include "settings/sharedsettings.h"
#include "views/orrerylayout.h"
#include "views/orrerypainter.h"

#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QPainter>
#include <QSvgGenerator>

#include <cmath>
#include <cstdio>

namespace heliora::cli {

namespace {

    // Large enough for any screen, small enough that a 2x picture stays a few hundred megabytes at most.
    constexpr double largestDiameter = 4096;
    constexpr double smallestScale = 0.5;
    constexpr double largestScale = 4;
    // Pictures in an SVG file are rasters; this many pixels per point (times the scale) keeps them sharp when
    // the drawing is viewed a few times larger.
    constexpr double svgPictureDensity = 4;

    enum class Format { png, svg };

    Format formatOf(const QString& file)
    {
        const QString suffix = QFileInfo(file).suffix().toLower();
        if (suffix == QLatin1String("png"))
            return Format::png;
        if (suffix == QLatin1String("svg"))
            return Format::svg;
        throw UsageError("-o: the file must end in .png or .svg, got " + file.toStdString());
    }

    struct Canvas {
        int pixels = 0; ///< side of the picture in device pixels (PNG) or in its size attribute (SVG)
        double logicalSide = 0; ///< the same in logical pixels
        QPointF origin; ///< where the layout's (0, 0) goes, in logical pixels
    };

    Canvas canvasFor(const OrreryLayout& layout, double scale)
    {
        Canvas canvas;
        canvas.pixels = static_cast<int>(std::ceil(layout.bounds().width() * scale - 1e-9));
        canvas.logicalSide = canvas.pixels / scale;
        // Centre the D × D square, so the Sun sits in the middle of the picture.
        const double inset = (canvas.logicalSide - layout.diameter) / 2;
        canvas.origin = QPointF(inset, inset);
        return canvas;
    }

    void paintInto(QPainter& painter, const OrreryLayout& layout, const Canvas& canvas, bool black, qreal pictureRatio)
    {
        if (black)
            painter.fillRect(QRectF(0, 0, canvas.logicalSide, canvas.logicalSide), Qt::black);
        painter.translate(canvas.origin);
        OrreryPaintOptions options;
        options.pictureRatio = pictureRatio;
        paintOrrery(painter, layout, options);
    }

    bool writePng(const QString& file, const OrreryLayout& layout, const Canvas& canvas, double scale, bool black)
    {
        QImage image(canvas.pixels, canvas.pixels, QImage::Format_ARGB32_Premultiplied);
        if (image.isNull())
            return false;
        image.setDevicePixelRatio(scale);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        paintInto(painter, layout, canvas, black, 0);
        painter.end();
        return image.save(file, "PNG");
    }

    bool writeSvg(const QString& file, const OrreryLayout& layout, const Canvas& canvas, double scale, bool black)
    {
        QSvgGenerator generator;
        generator.setFileName(file);
        generator.setSize(QSize(canvas.pixels, canvas.pixels));
        generator.setViewBox(QRectF(0, 0, canvas.logicalSide, canvas.logicalSide));
        // A logical pixel is a CSS pixel, 1/96 inch, so viewers show the drawing at the PNG's size.
        generator.setResolution(96);
        generator.setTitle(QStringLiteral("Heliora"));
        QPainter painter;
        if (!painter.begin(&generator))
            return false;
        paintInto(painter, layout, canvas, black, svgPictureDensity * scale);
        return painter.end();
    }

} // namespace

int renderCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.addOptions({
        dateOptionDefinition(),
        timeZoneOptionDefinition(),
        { "diameter", "diameter of the outermost ring in points", "number" },
        { "pluto", "show Pluto and its ring" },
        { "no-pluto", "leave Pluto out" },
        { "inner-only", "show Mercury to Mars only" },
        { "scale", "device pixels per point", "number" },
        { "background", "black or none", "background" },
        { { "o", "output" }, "the picture to write, .png or .svg", "file" },
    });
    parseOptions(parser, QStringLiteral("render"), arguments);

    if (!parser.isSet(QStringLiteral("output")))
        throw UsageError("render: -o FILE.png or -o FILE.svg is required");
    const QString file = parser.value(QStringLiteral("output"));
    const Format format = formatOf(file);

    const auto [zone, date] = dateInZoneOptions(parser);
    OrreryInputs inputs;
    inputs.date = date;
    inputs.diameter = numberOption(parser, QStringLiteral("diameter"), 400.0);
    if (!(inputs.diameter > 0 && inputs.diameter <= largestDiameter))
        throw UsageError(
            QStringLiteral("--diameter must be above 0 and at most %1").arg(largestDiameter).toStdString());
    const double scale = numberOption(parser, QStringLiteral("scale"), 1.0);
    if (!(scale >= smallestScale && scale <= largestScale))
        throw UsageError(
            QStringLiteral("--scale must lie between %1 and %2").arg(smallestScale).arg(largestScale).toStdString());
    const QString background = parser.value(QStringLiteral("background"));
    if (parser.isSet(QStringLiteral("background")) && background != QLatin1String("black")
        && background != QLatin1String("none"))
        throw UsageError("--background must be black or none, got " + background.toStdString());
    const bool black = background != QLatin1String("none");
    if (parser.isSet(QStringLiteral("pluto")) && parser.isSet(QStringLiteral("no-pluto")))
        throw UsageError("--pluto and --no-pluto contradict each other");

    // Without either option the orrery follows the shared "show_pluto" setting; a fresh installation has it off.
    if (parser.isSet(QStringLiteral("pluto")))
        inputs.showPluto = true;
    else if (parser.isSet(QStringLiteral("no-pluto")))
        inputs.showPluto = false;
    else
        inputs.showPluto = SharedSettings().showPluto();
    inputs.showOnlyInnerPlanets = parser.isSet(QStringLiteral("inner-only"));

    const OrreryLayout layout = layoutOrrery(inputs, referenceEpoch(*zone));
    const Canvas canvas = canvasFor(layout, scale);
    const bool written = format == Format::png ? writePng(file, layout, canvas, scale, black)
                                               : writeSvg(file, layout, canvas, scale, black);
    if (!written) {
        std::fprintf(stderr, "heliora-cli: cannot write %s\n", qPrintable(file));
        return 1;
    }

    QJsonArray planets;
    for (auto it = layout.rings.rbegin(); it != layout.rings.rend(); ++it) {
        const QPointF centre = it->centre + canvas.origin;
        planets.append(QJsonObject {
            { "planet", QString::fromUtf8(rawValue(it->planet)) },
            { "x", centre.x() },
            { "y", centre.y() },
            { "ringRadius", it->ringRadius },
            { "screenAngle", it->phi },
        });
    }
    const QPointF sun = layout.centre + canvas.origin;
    printJson(QJsonObject {
        { "file", file },
        { "width", canvas.pixels },
        { "height", canvas.pixels },
        { "scale", scale },
        { "date", inputs.date },
        { "timeZone", QString::fromStdString(timeZoneId(*zone)) },
        { "diameter", layout.diameter },
        { "rings", layout.ringCount - 1 },
        { "sun", QJsonObject { { "x", sun.x() }, { "y", sun.y() } } },
        { "planets", planets },
    });
    return 0;
}

} // namespace heliora::cli
