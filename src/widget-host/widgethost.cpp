#include "widget-host/widgethost.h"

#include "widget-host/autostart.h"
#include "widget-host/entryrenderer.h"
#include "widget-host/gallerywindow.h"
#include "widget-host/timezonesource.h"
#include "widget-host/wallclockalarm.h"
#include "widget-host/widgetwindow.h"
#include "widget-host/x11hints.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>

#include <cstdio>

namespace heliora::host {

namespace {

    // New widgets go to the top right of the screen, each a little lower than the one before.
    constexpr int edgeGap = 24;
    constexpr int cascadeStep = 32;

    QScreen* screenNamed(const QString& name)
    {
        for (QScreen* screen : QGuiApplication::screens()) {
            if (screen->name() == name)
                return screen;
        }
        return QGuiApplication::primaryScreen();
    }

    QPoint clampedInto(const QRect& area, QPoint topLeft, const QSize& size)
    {
        topLeft.setX(std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())));
        topLeft.setY(std::clamp(topLeft.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height())));
        return topLeft;
    }

} // namespace

WidgetHost::WidgetHost(const widgetkit::WidgetBundle& bundle, HostSetup setup, QObject* parent)
    : QObject(parent)
    , m_bundle(bundle)
    , m_setup(std::move(setup))
    , m_file(m_setup.placedWidgetsPath)
    , m_alarm(new WallClockAlarm(this))
    , m_zone(new TimeZoneSource(m_setup.localtimeLink, this))
{
    connect(m_alarm, &WallClockAlarm::rang, this, &WidgetHost::reloadDue);
    connect(m_alarm, &WallClockAlarm::clockChanged, this, &WidgetHost::reloadAll);
    connect(m_zone, &TimeZoneSource::changed, this, &WidgetHost::reloadAll);
}

WidgetHost::~WidgetHost()
{
    for (auto& [id, shown] : m_shown)
        delete shown.window;
    delete m_gallery;
}

double WidgetHost::now() const
{
    if (m_setup.now)
        return m_setup.now();
    return static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
}

int WidgetHost::restore()
{
    const std::optional<QList<PlacedWidget>> records = m_file.read();
    m_fileReadable = records.has_value();
    m_records = records.value_or(QList<PlacedWidget>());
    int count = 0;
    for (int i = 0; i < m_records.size(); ++i) {
        if (show(i))
            ++count;
    }
    if (m_setup.verbose)
        std::fprintf(stderr, "heliora-widgets: restored %d widget(s) from %s%s\n", count, qPrintable(m_file.path()),
            m_fileReadable ? "" : " (unreadable: ignored)");
    armAlarm();
    return count;
}

WidgetWindow* WidgetHost::show(int record)
{
    const PlacedWidget& placed = m_records.at(record);
    const widgetkit::WidgetConfiguration* widget = widgetkit::findWidget(m_bundle, placed.kind);
    const std::optional<widgetkit::WidgetFamily> family = widgetkit::familyFromName(placed.family);
    if (!widget || !family || !widget->supportedFamilies().contains(*family))
        return nullptr;

    const int id = m_nextId++;
    auto* window = new WidgetWindow(id, placed.kind, *family, widget->displayName());
    window->move(placeFor(placed, window->size()));
    m_shown[id] = { record, window, {} };
    connect(window, &WidgetWindow::removeRequested, this, &WidgetHost::remove);
    connect(window, &WidgetWindow::openAppRequested, this, &WidgetHost::openApp);
    connect(window, &WidgetWindow::moved, this, &WidgetHost::remember);
    connect(window, &WidgetWindow::pixelRatioChanged, this, &WidgetHost::redraw);
    // The window exists (for its X11 id) before it is mapped, so the desktop hints are there when the window
    // manager first sees it.
    window->winId();
    markAsDesktopWidget(window);
    reload(id);
    window->show();
    return window;
}

QPoint WidgetHost::placeFor(const PlacedWidget& record, const QSize& size) const
{
    QScreen* screen = screenNamed(record.screen);
    if (!screen)
        return record.position;
    return clampedInto(screen->availableGeometry(), screen->geometry().topLeft() + record.position, size);
}

void WidgetHost::reload(int id)
{
    const auto it = m_shown.find(id);
    if (it == m_shown.end() || !it->second.window)
        return;
    Shown& shown = it->second;
    const PlacedWidget& placed = m_records.at(shown.record);
    const widgetkit::WidgetConfiguration* widget = widgetkit::findWidget(m_bundle, placed.kind);
    if (!widget)
        return;
    const widgetkit::WidgetFamily family = shown.window->family();
    const widgetkit::TimelineContext context { QSizeF(widgetkit::familySize(family)), family };

    const double requested = now();
    widgetkit::Timeline timeline;
    bool answered = false;
    widget->provider().timeline(context, [&](const widgetkit::Timeline& answer) {
        timeline = answer;
        answered = true;
    });
    // Of the entries, the latest that has begun (the first when none has); a provider that does not answer or
    // answers with no entry leaves the placeholder.
    const QList<widgetkit::TimelineEntry>& entries = timeline.entries;
    shown.entry = entries.isEmpty() ? widget->provider().placeholder(context) : entries.constFirst();
    for (qsizetype i = 1; i < entries.size(); ++i) {
        if (entries.at(i).date <= requested)
            shown.entry = entries.at(i);
    }
    const double reloadDate
        = m_setup.reloadInterval ? requested + *m_setup.reloadInterval : (answered ? timeline.reloadAfter : requested);
    m_schedule.reloaded(id, requested, reloadDate);
    redraw(id);
    if (m_setup.verbose)
        std::fprintf(stderr, "heliora-widgets: drew %s %s for %.3f, next reload at %.3f\n", qPrintable(placed.kind),
            qPrintable(placed.family), shown.entry.date, m_schedule.dates().at(id));
}

void WidgetHost::redraw(int id)
{
    const auto it = m_shown.find(id);
    if (it == m_shown.end() || !it->second.window)
        return;
    WidgetWindow* window = it->second.window;
    const widgetkit::WidgetConfiguration* widget = widgetkit::findWidget(m_bundle, window->kind());
    if (widget)
        window->setPicture(renderEntry(*widget, window->family(), it->second.entry, window->devicePixelRatioF()));
}

void WidgetHost::reloadDue()
{
    // The alarm rings at the reload date to the nanosecond; the clock read here has milliseconds, so a widget
    // due within the next one counts as due rather than arming the alarm again for an instant already past.
    constexpr double clockResolution = 0.002;
    for (const int id : m_schedule.due(now() + clockResolution))
        reload(id);
    armAlarm();
}

void WidgetHost::reloadAll()
{
    for (const auto& [id, shown] : m_shown)
        reload(id);
    if (m_gallery && m_gallery->isVisible())
        m_gallery->refreshPreviews();
    armAlarm();
}

void WidgetHost::armAlarm()
{
    if (const std::optional<double> next = m_schedule.nextDate())
        m_alarm->arm(*next);
    else
        m_alarm->disarm();
}

bool WidgetHost::add(const QString& kind, widgetkit::WidgetFamily family)
{
    const widgetkit::WidgetConfiguration* widget = widgetkit::findWidget(m_bundle, kind);
    if (!widget || !widget->supportedFamilies().contains(family) || m_records.size() >= PlacedWidgetsFile::mostWidgets)
        return false;
    QScreen* screen = m_gallery && m_gallery->screen() ? m_gallery->screen() : QGuiApplication::primaryScreen();
    const QSize size = widgetkit::familySize(family);
    PlacedWidget record { kind, familyName(family), screen ? screen->name() : QString(), {} };
    if (screen) {
        const QRect area = screen->availableGeometry();
        const int cascade = static_cast<int>(m_shown.size()) * cascadeStep;
        const QPoint global(area.right() + 1 - edgeGap - size.width(), area.top() + edgeGap + cascade);
        record.position = clampedInto(area, global, size) - screen->geometry().topLeft();
    }
    const bool first = m_shown.empty();
    m_records.append(record);
    show(static_cast<int>(m_records.size()) - 1);
    armAlarm();
    save();
    if (first)
        AutostartEntry(m_setup.autostartPath.isEmpty() ? AutostartEntry::defaultPath() : m_setup.autostartPath)
            .setEnabled(true, m_setup.program);
    return true;
}

void WidgetHost::remove(int id)
{
    const auto it = m_shown.find(id);
    if (it == m_shown.end())
        return;
    const int record = it->second.record;
    QPointer<WidgetWindow> window = it->second.window;
    m_shown.erase(it);
    m_schedule.remove(id);
    m_records.removeAt(record);
    for (auto& [other, shown] : m_shown) {
        if (shown.record > record)
            --shown.record;
    }
    save();
    if (m_shown.empty())
        AutostartEntry(m_setup.autostartPath.isEmpty() ? AutostartEntry::defaultPath() : m_setup.autostartPath)
            .setEnabled(false, m_setup.program);
    armAlarm();
    if (window)
        window->close();
    QMetaObject::invokeMethod(this, &WidgetHost::checkIdle, Qt::QueuedConnection);
}

void WidgetHost::remember(int id)
{
    const auto it = m_shown.find(id);
    if (it == m_shown.end() || !it->second.window)
        return;
    WidgetWindow* window = it->second.window;
    QScreen* screen = window->screen();
    PlacedWidget& record = m_records[it->second.record];
    PlacedWidget moved = record;
    moved.screen = screen ? screen->name() : QString();
    moved.position = window->pos() - (screen ? screen->geometry().topLeft() : QPoint());
    if (moved == record)
        return;
    record = moved;
    save();
}

void WidgetHost::save()
{
    // Writing is what the user asked for by placing, moving or removing a widget: it also replaces a file that
    // could not be read.
    m_file.write(m_records);
    m_fileReadable = true;
}

void WidgetHost::openApp() const
{
    QProcess process;
    process.setProgram(m_setup.appProgram);
    process.setProcessEnvironment(m_setup.appEnvironment);
    process.startDetached();
}

void WidgetHost::showGallery()
{
    if (!m_gallery) {
        m_gallery = new GalleryWindow(m_bundle);
        m_gallery->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_gallery, &GalleryWindow::addRequested, this,
            [this](const QString& kind, widgetkit::WidgetFamily family) { add(kind, family); });
        connect(m_gallery, &QObject::destroyed, this, &WidgetHost::checkIdle, Qt::QueuedConnection);
    }
    m_gallery->show();
    m_gallery->raise();
    m_gallery->activateWindow();
}

QList<WidgetWindow*> WidgetHost::windows() const
{
    QList<WidgetWindow*> list;
    for (const auto& [id, shown] : m_shown) {
        if (shown.window)
            list.append(shown.window);
    }
    return list;
}

void WidgetHost::checkIdle()
{
    if (m_shown.empty() && !m_gallery)
        emit idle();
}

} // namespace heliora::host
