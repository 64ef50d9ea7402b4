#pragma once

#include <QObject>
#include <QString>

class QFileSystemWatcher;

namespace heliora::host {

/// The zone id ("Europe/Berlin") that a localtime link names: the part of its target after "zoneinfo/".
/// Empty when the path is not a symbolic link into a zoneinfo folder.
QString zoneFromLink(const QString& linkPath);

/// Keeps the host's time zone in step with the machine's. The machine's zone is the one its localtime link
/// names (/etc/localtime; the link path can be replaced for tests, HELIORA_WIDGET_LOCALTIME), else the first line
/// of /etc/timezone. The source exports it as TZ in the host's own environment and resets the C library's and
/// ICU's cached zones, so the widgets' calendars and orreries read the new zone at once; it watches the link's
/// folder and emits changed() when the zone named there is another one.
///
/// A user who starts the host with TZ set has pinned the zone: the source then leaves TZ alone and watches
/// nothing. Main thread only.
class TimeZoneSource : public QObject {
    Q_OBJECT
public:
    explicit TimeZoneSource(const QString& linkPath, QObject* parent = nullptr);

    /// The zone in force ("" when none could be read and the system's default applies).
    QString zone() const { return m_zone; }
    bool isPinned() const { return m_pinned; }
    /// Reads the link again; emits changed() when it names another zone than before.
    void check();

signals:
    void changed(const QString& zone);

private:
    QString readZone() const;
    void apply(const QString& zone);

    QString m_linkPath;
    QString m_zone;
    bool m_pinned = false;
    QFileSystemWatcher* m_watcher = nullptr;
};

} // namespace heliora::host
