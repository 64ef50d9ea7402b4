#pragma once

#include <QList>
#include <QPoint>
#include <QString>

#include <optional>

namespace heliora::host {

/// One widget on the desktop as the host remembers it: which widget and family, on which screen (its name, as
/// Qt gives it) and where there (the window's top-left corner relative to that screen's top-left).
struct PlacedWidget {
    QString kind;
    QString family;
    QString screen;
    QPoint position;

    friend bool operator==(const PlacedWidget&, const PlacedWidget&) = default;
};

/// The host's own settings file: the placed widgets, in the order they were placed. A small JSON document,
/// {"version": 1, "widgets": [{"kind", "family", "screen", "x", "y"}, ...]}, in the user's configuration folder
/// ($XDG_CONFIG_HOME, else ~/.config) as heliora/heliora-widgets.json.
///
/// Reading is bounded and never trusts the file: anything that is not a regular file, is larger than 64 KiB, is
/// not such a JSON document, holds a record without a text kind and family or with a position outside ±100000,
/// or holds more than 64 records reads as no widgets at all (nullopt; a missing file is an empty list). Records
/// of kinds or families that this host does not know are kept as they are: the host shows them not, and writes
/// them back. Writing replaces the file atomically.
class PlacedWidgetsFile {
public:
    static constexpr qint64 largestFile = 64 * 1024;
    static constexpr int mostWidgets = 64;
    static constexpr int farthest = 100000;

    explicit PlacedWidgetsFile(QString path = defaultPath());

    /// heliora/heliora-widgets.json in the user's configuration folder.
    static QString defaultPath();
    QString path() const { return m_path; }

    /// The records, or nullopt when the file is unreadable or not well formed (see above).
    std::optional<QList<PlacedWidget>> read() const;
    /// Replaces the file with these records; false when it could not be written (the old file stays). More than
    /// mostWidgets records are refused.
    bool write(const QList<PlacedWidget>& widgets) const;

    /// The document for these records, and the records of a document: exposed for tests of hostile content.
    static QByteArray serialize(const QList<PlacedWidget>& widgets);
    static std::optional<QList<PlacedWidget>> parse(const QByteArray& bytes);

private:
    QString m_path;
};

} // namespace heliora::host
