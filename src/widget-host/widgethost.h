#pragma once

#include "widget-host/placedwidgets.h"
#include "widget-host/reloadschedule.h"
#include "widget-interface/widgetextension.h"

#include <QObject>
#include <QPointer>
#include <QProcessEnvironment>

#include <functional>
#include <map>
#include <optional>

namespace heliora::host {

class AutostartEntry;
class GalleryWindow;
class TimeZoneSource;
class WallClockAlarm;
class WidgetWindow;

/// What the host is set up with: where it keeps its files, how it reads the clock, what it starts.
struct HostSetup {
    QString placedWidgetsPath = PlacedWidgetsFile::defaultPath();
    QString autostartPath; ///< empty: the user's autostart folder
    QString program; ///< the host program as the autostart entry starts it
    QString appProgram = QStringLiteral("heliora"); ///< what Open Heliora starts
    QProcessEnvironment appEnvironment = QProcessEnvironment::systemEnvironment();
    QString localtimeLink; ///< empty: /etc/localtime
    std::function<double()> now; ///< seconds since 1970; empty: the system clock
    /// Tests only: every reload date becomes this many seconds after the reload (HELIORA_WIDGET_RELOAD_S).
    std::optional<double> reloadInterval;
    bool verbose = false;
};

/// The widget host: shows the placed widgets as desktop windows, draws each from its provider's timeline and
/// draws it again at the timeline's reload date, and remembers the widgets in its settings file. One wall-clock
/// alarm serves all widgets (armed for the earliest reload date); a wall-clock change, a resume from suspend
/// (both seen by the alarm) or a change of the machine's time zone reloads every widget at once. Between these
/// events the host does nothing. Owns the widget windows, the gallery and the alarm; the bundle outlives it.
///
/// The placed widgets' records are kept as read, including records of kinds or families that this extension
/// does not offer (not shown, written back unchanged). A settings file that cannot be read shows no widgets and
/// stays as it is until the user places or removes one.
class WidgetHost : public QObject {
    Q_OBJECT
public:
    WidgetHost(const widgetkit::WidgetBundle& bundle, HostSetup setup, QObject* parent = nullptr);
    ~WidgetHost() override;

    /// Shows the widgets of the settings file; returns how many are shown.
    int restore();
    void showGallery();
    /// Places a new widget of that kind and family on the desktop; false for a kind or family the extension
    /// does not offer.
    bool add(const QString& kind, widgetkit::WidgetFamily family);
    void remove(int id);
    /// Asks every shown widget's provider again now.
    void reloadAll();

    QList<WidgetWindow*> windows() const;
    const ReloadSchedule& schedule() const { return m_schedule; }
    TimeZoneSource* timeZone() const { return m_zone; }

signals:
    /// No widget is shown and the gallery is closed: nothing is left to do.
    void idle();

private:
    struct Shown {
        int record = 0; ///< index into m_records
        QPointer<WidgetWindow> window;
        widgetkit::TimelineEntry entry;
    };

    double now() const;
    WidgetWindow* show(int record);
    void reload(int id);
    void redraw(int id);
    void reloadDue();
    void armAlarm();
    void remember(int id);
    void save();
    void openApp() const;
    void checkIdle();
    QPoint placeFor(const PlacedWidget& record, const QSize& size) const;

    const widgetkit::WidgetBundle& m_bundle;
    HostSetup m_setup;
    PlacedWidgetsFile m_file;
    QList<PlacedWidget> m_records;
    bool m_fileReadable = true;
    std::map<int, Shown> m_shown;
    int m_nextId = 1;
    ReloadSchedule m_schedule;
    WallClockAlarm* m_alarm;
    TimeZoneSource* m_zone;
    QPointer<GalleryWindow> m_gallery;
};

} // namespace heliora::host
