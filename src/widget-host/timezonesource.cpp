#include "widget-host/timezonesource.h"

#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>

#include <unicode/timezone.h>

#include <cstdlib>
#include <ctime>

namespace heliora::host {

namespace {

    constexpr char systemLink[] = "/etc/localtime";
    constexpr char systemZoneFile[] = "/etc/timezone";

    bool looksLikeZoneId(const QString& id)
    {
        if (id.isEmpty() || id.size() > 64 || id.startsWith(QLatin1Char('/')) || id.contains(QLatin1String("..")))
            return false;
        for (const QChar c : id) {
            if (!(c.isLetterOrNumber() || c == QLatin1Char('/') || c == QLatin1Char('_') || c == QLatin1Char('-')
                    || c == QLatin1Char('+')))
                return false;
        }
        return true;
    }

} // namespace

QString zoneFromLink(const QString& linkPath)
{
    const QFileInfo link(linkPath);
    if (!link.isSymLink())
        return {};
    const QString target = link.symLinkTarget();
    const QLatin1String marker("/zoneinfo/");
    const qsizetype at = target.lastIndexOf(marker);
    if (at < 0)
        return {};
    QString id = target.mid(at + marker.size());
    // zoneinfo/posix/Europe/Berlin and zoneinfo/right/... name the same zone.
    for (const QLatin1String prefix : { QLatin1String("posix/"), QLatin1String("right/") }) {
        if (id.startsWith(prefix))
            id = id.mid(prefix.size());
    }
    return looksLikeZoneId(id) ? id : QString();
}

TimeZoneSource::TimeZoneSource(const QString& linkPath, QObject* parent)
    : QObject(parent)
    , m_linkPath(linkPath.isEmpty() ? QString::fromLatin1(systemLink) : linkPath)
{
    if (!qEnvironmentVariableIsEmpty("TZ")) {
        m_pinned = true;
        m_zone = qEnvironmentVariable("TZ");
        return;
    }
    apply(readZone());
    // The folder, not the link: a zone change replaces the link (a new link renamed over it), which a watch on
    // the old link would not see.
    m_watcher = new QFileSystemWatcher(this);
    const QString folder = QFileInfo(m_linkPath).absolutePath();
    m_watcher->addPath(folder);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &TimeZoneSource::check);
}

QString TimeZoneSource::readZone() const
{
    QString zone = zoneFromLink(m_linkPath);
    if (zone.isEmpty() && m_linkPath == QLatin1String(systemLink)) {
        QFile file(QString::fromLatin1(systemZoneFile));
        if (QFileInfo(file).isFile() && file.open(QIODevice::ReadOnly)) {
            const QString line = QString::fromUtf8(file.readLine(128)).trimmed();
            if (looksLikeZoneId(line))
                zone = line;
        }
    }
    return zone;
}

void TimeZoneSource::apply(const QString& zone)
{
    m_zone = zone;
    if (zone.isEmpty())
        qunsetenv("TZ");
    else
        qputenv("TZ", zone.toUtf8());
    // The C library reads TZ at tzset; ICU caches its default zone until told again.
    tzset();
    icu::TimeZone::adoptDefault(icu::TimeZone::detectHostTimeZone());
}

void TimeZoneSource::check()
{
    if (m_pinned)
        return;
    const QString zone = readZone();
    if (zone == m_zone)
        return;
    apply(zone);
    emit changed(zone);
}

} // namespace heliora::host
