#include "cli/application.h"
#include "cli/cliargs.h"
#include "cli/commands.h"

#include "model/environment.h"
#include "settings/sharedsettings.h"
#include "views/orrerylayout.h"
#include "views/orrerypainter.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <functional>
#include <new>

#include <sys/stat.h>

namespace heliora::cli {

namespace {

    const QString command = QStringLiteral("render");

    // Pictures in an SVG file are rasters; this many pixels per point (times the scale) keeps them sharp when
    // the drawing is viewed a few times larger...
    constexpr double svgPictureDensity = 4;
    // ... unless their pixels together would pass this many: then they get fewer, so a large drawing's file
    // stays a few tens of megabytes.
    constexpr double svgPicturePixels = 16.0 * 1024 * 1024;

    enum class Format { png, svg };

    struct Canvas {
        double logicalSide = 0; ///< the side of the picture in logical pixels
        int pixels = 0; ///< the same in device pixels (PNG) or in the size attribute (SVG), at most 8192
        QPointF origin; ///< where the layout's (0, 0) goes, in logical pixels
    };

    // The side of the picture in pixels: the orrery's bounds rounded up to whole logical pixels, once, times the
    // scale, rounded up only where that product is not whole. So a 434 px orrery at scale 2 is 868 px.
    double pictureSide(const OrreryLayout& layout, double scale)
    {
        constexpr double roundingSlack = 1e-6; // a product such as 434 × 1.1 may land a hair above its value
        const double logical = std::ceil(layout.bounds().width() - roundingSlack);
        return std::max(1.0, std::ceil(logical * scale - roundingSlack));
    }

    Canvas canvasFor(const OrreryLayout& layout, double scale)
    {
        Canvas canvas;
        const double side = pictureSide(layout, scale);
        canvas.pixels = static_cast<int>(side);
        canvas.logicalSide = side / scale;
        // Centre the D × D square, so the Sun sits in the middle of the picture.
        const double inset = (canvas.logicalSide - layout.diameter) / 2;
        canvas.origin = QPointF(inset, inset);
        return canvas;
    }

    QString describeType(mode_t mode)
    {
        if (S_ISDIR(mode))
            return QStringLiteral("a folder");
        if (S_ISFIFO(mode))
            return QStringLiteral("a FIFO");
        if (S_ISCHR(mode) || S_ISBLK(mode))
            return QStringLiteral("a device");
        if (S_ISSOCK(mode))
            return QStringLiteral("a socket");
        return QStringLiteral("not a regular file");
    }

    // Only a regular file (or a link to one) is replaced, and only a new path is created: a FIFO would block the
    // write for ever, a device such as /dev/full would swallow the picture, a folder is no picture. Checked
    // without opening anything, before the picture is drawn.
    void checkOutput(const QString& file)
    {
        struct stat info { };
        if (::stat(QFile::encodeName(file).constData(), &info) == 0) {
            if (!S_ISREG(info.st_mode)) {
                throw CommandFailure(command,
                    QStringLiteral("-o needs a regular file or a new path (got %1, %2)")
                        .arg(quotedForTerminal(file), describeType(info.st_mode)));
            }
            return;
        }
        if (errno != ENOENT) {
            const int error = errno;
            throw CommandFailure(command,
                QStringLiteral("cannot write %1: %2")
                    .arg(quotedForTerminal(file), QString::fromLocal8Bit(std::strerror(error))));
        }
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

    QByteArray pngBytes(const OrreryLayout& layout, const Canvas& canvas, double scale, bool black)
    {
        QImage image(canvas.pixels, canvas.pixels, QImage::Format_ARGB32_Premultiplied);
        if (image.isNull())
            throw std::bad_alloc();
        image.setDevicePixelRatio(scale);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        paintInto(painter, layout, canvas, black, 0);
        painter.end();
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            throw std::bad_alloc(); // encoding into memory fails only for want of it
        return bytes;
    }

    // How many pixels per logical pixel the SVG's embedded pictures get: their usual density, fewer when the
    // pictures of a large orrery would otherwise pass the budget.
    double svgPictureRatio(const OrreryLayout& layout, double scale)
    {
        double area = layout.sunImageRect.width() * layout.sunImageRect.height();
        for (const OrrerySlot& slot : layout.rings)
            area += slot.imageRect.width() * slot.imageRect.height();
        const double wanted = svgPictureDensity * scale;
        return area > 0 ? std::min(wanted, std::sqrt(svgPicturePixels / area)) : wanted;
    }

    QByteArray svgBytes(const OrreryLayout& layout, const Canvas& canvas, double scale, bool black)
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(QSize(canvas.pixels, canvas.pixels));
        generator.setViewBox(QRectF(0, 0, canvas.logicalSide, canvas.logicalSide));
        // A logical pixel is a CSS pixel, 1/96 inch, so viewers show the drawing at the PNG's size.
        generator.setResolution(96);
        generator.setTitle(QStringLiteral("Heliora"));
        QPainter painter(&generator);
        paintInto(painter, layout, canvas, black, svgPictureRatio(layout, scale));
        painter.end();
        return bytes;
    }

    // The picture is made in memory, then written through a staging file beside the target that replaces it only
    // when every byte was written: a full disk or a failing device leaves the old file (or none), never a part of
    // a picture. (The encoders' own writers would not do: the PNG encoder prints its errors, and a short write to
    // a file, the first sign of a full disk, is not an error to Qt's writers.)
    void writePicture(const QString& file, const std::function<QByteArray()>& encode)
    {
        QSaveFile output(file);
        const auto fail = [&](const QString& why) {
            output.cancelWriting();
            throw CommandFailure(command, QStringLiteral("cannot write %1: %2").arg(quotedForTerminal(file), why));
        };
        if (!output.open(QIODevice::WriteOnly))
            fail(output.errorString());
        const QByteArray bytes = encode();
        qsizetype done = 0;
        while (done < bytes.size()) {
            const qint64 written = output.write(bytes.constData() + done, bytes.size() - done);
            if (written <= 0)
                fail(output.errorString());
            done += written;
        }
        if (!output.commit())
            fail(output.errorString());
    }

} // namespace

int renderCommand(const QStringList& arguments)
{
    const ParsedArguments parsed(commandUsage(command), arguments);

    const std::optional<QString> file = parsed.value(u"output");
    const QString suffix = file ? QFileInfo(*file).suffix().toLower() : QString();
    if (suffix != QLatin1String("png") && suffix != QLatin1String("svg"))
        throw parsed.badValue(u"output");
    const Format format = suffix == QLatin1String("png") ? Format::png : Format::svg;

    const auto [zone, date] = dateInZoneOptions(parsed);
    OrreryInputs inputs;
    inputs.date = date;
    inputs.diameter = numberOption(
        parsed, u"diameter", limits::defaultDiameter, [](double d) { return d > 0 && d <= limits::largestDiameter; });
    const double scale = numberOption(
        parsed, u"scale", 1.0, [](double s) { return s >= limits::smallestScale && s <= limits::largestScale; });
    const std::optional<QString> background = parsed.value(u"background");
    if (background && background != QLatin1String("black") && background != QLatin1String("none"))
        throw parsed.badValue(u"background");
    const bool black = background != QLatin1String("none");
    if (parsed.isSet(u"pluto") && parsed.isSet(u"no-pluto"))
        throw parsed.error(QStringLiteral("takes --pluto or --no-pluto, not both"));
    inputs.showOnlyInnerPlanets = parsed.isSet(u"inner-only");
    const double epoch = referenceEpoch(*zone);

    // The picture's size depends on whether Pluto is shown, which may be the shared setting, read only once the
    // application exists: bound the larger of the two sizes.
    double pixels = 0;
    for (const bool pluto : { false, true }) {
        if (parsed.isSet(pluto ? u"no-pluto" : u"pluto"))
            continue;
        inputs.showPluto = pluto;
        pixels = std::max(pixels, std::pow(pictureSide(layoutOrrery(inputs, epoch), scale), 2));
    }
    if (pixels > limits::largestPixelCount) {
        const double side = std::sqrt(pixels);
        throw parsed.error(QStringLiteral("--diameter %1 at --scale %2 needs %3 x %3 pixels; at most %4 x %4 are drawn")
                               .arg(inputs.diameter)
                               .arg(scale)
                               .arg(side, 0, 'f', 0)
                               .arg(std::sqrt(limits::largestPixelCount), 0, 'f', 0));
    }

    checkOutput(*file);
    requireGuiApplication(command);

    // Without either option the orrery follows the shared "show_pluto" setting; a fresh installation has it off.
    if (parsed.isSet(u"pluto"))
        inputs.showPluto = true;
    else if (parsed.isSet(u"no-pluto"))
        inputs.showPluto = false;
    else
        inputs.showPluto = SharedSettings().showPluto();

    const OrreryLayout layout = layoutOrrery(inputs, epoch);
    const Canvas canvas = canvasFor(layout, scale);
    writePicture(*file, [&] {
        return format == Format::png ? pngBytes(layout, canvas, scale, black) : svgBytes(layout, canvas, scale, black);
    });

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
        { "file", *file },
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
    return success;
}

} // namespace heliora::cli
