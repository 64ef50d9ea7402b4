#include "widget-host/placedwidgets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

#include <cerrno>
#include <cmath>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace heliora::host {

namespace {

    constexpr int fileVersion = 1;
    // Screen names are short ("DP-1", "HDMI-A-0"); a long one is somebody else's data.
    constexpr qsizetype longestText = 256;

    std::optional<QString> textField(const QJsonObject& object, QLatin1String key, bool required)
    {
        const QJsonValue value = object.value(key);
        if (value.isUndefined() && !required)
            return QString();
        if (!value.isString() || value.toString().size() > longestText)
            return std::nullopt;
        return value.toString();
    }

    std::optional<int> coordinate(const QJsonObject& object, QLatin1String key)
    {
        const QJsonValue value = object.value(key);
        if (!value.isDouble())
            return std::nullopt;
        const double number = value.toDouble();
        if (!std::isfinite(number) || std::abs(number) > PlacedWidgetsFile::farthest || number != std::floor(number))
            return std::nullopt;
        return static_cast<int>(number);
    }

    // Reads at most `limit` + 1 bytes of a regular file without following a FIFO or a device into a blocking
    // read: the file is opened non-blocking and checked with fstat before anything is read.
    std::optional<QByteArray> readBounded(const QString& path, qint64 limit, bool* missing)
    {
        const QByteArray native = QFile::encodeName(path);
        const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0) {
            *missing = errno == ENOENT;
            return std::nullopt;
        }
        struct stat info { };
        if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > limit) {
            ::close(fd);
            return std::nullopt;
        }
        QByteArray bytes(static_cast<qsizetype>(limit + 1), Qt::Uninitialized);
        qsizetype total = 0;
        while (total < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + total, static_cast<size_t>(bytes.size() - total));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                ::close(fd);
                return std::nullopt;
            }
            if (got == 0)
                break;
            total += got;
        }
        ::close(fd);
        if (total > limit)
            return std::nullopt;
        bytes.truncate(total);
        return bytes;
    }

} // namespace

PlacedWidgetsFile::PlacedWidgetsFile(QString path)
    : m_path(std::move(path))
{
}

QString PlacedWidgetsFile::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/heliora/heliora-widgets.json");
}

std::optional<QList<PlacedWidget>> PlacedWidgetsFile::parse(const QByteArray& bytes)
{
    if (bytes.size() > largestFile)
        return std::nullopt;
    QJsonParseError error {};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject root = document.object();
    if (root.value(QLatin1String("version")).toDouble(-1) != fileVersion)
        return std::nullopt;
    const QJsonValue list = root.value(QLatin1String("widgets"));
    if (!list.isArray() || list.toArray().size() > mostWidgets)
        return std::nullopt;
    QList<PlacedWidget> widgets;
    for (const QJsonValue& item : list.toArray()) {
        if (!item.isObject())
            return std::nullopt;
        const QJsonObject object = item.toObject();
        const auto kind = textField(object, QLatin1String("kind"), true);
        const auto family = textField(object, QLatin1String("family"), true);
        const auto screen = textField(object, QLatin1String("screen"), false);
        const auto x = coordinate(object, QLatin1String("x"));
        const auto y = coordinate(object, QLatin1String("y"));
        if (!kind || !family || !screen || !x || !y)
            return std::nullopt;
        widgets.append({ *kind, *family, *screen, QPoint(*x, *y) });
    }
    return widgets;
}

QByteArray PlacedWidgetsFile::serialize(const QList<PlacedWidget>& widgets)
{
    QJsonArray list;
    for (const PlacedWidget& widget : widgets) {
        list.append(QJsonObject {
            { "kind", widget.kind },
            { "family", widget.family },
            { "screen", widget.screen },
            { "x", widget.position.x() },
            { "y", widget.position.y() },
        });
    }
    return QJsonDocument(QJsonObject { { "version", fileVersion }, { "widgets", list } }).toJson();
}

std::optional<QList<PlacedWidget>> PlacedWidgetsFile::read() const
{
    bool missing = false;
    const std::optional<QByteArray> bytes = readBounded(m_path, largestFile, &missing);
    if (!bytes)
        return missing ? std::optional<QList<PlacedWidget>>(QList<PlacedWidget>()) : std::nullopt;
    return parse(*bytes);
}

bool PlacedWidgetsFile::write(const QList<PlacedWidget>& widgets) const
{
    if (widgets.size() > mostWidgets)
        return false;
    const QByteArray bytes = serialize(widgets);
    if (bytes.size() > largestFile || !QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return false;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(bytes);
    return file.commit();
}

} // namespace heliora::host
