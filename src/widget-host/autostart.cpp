#include "widget-host/autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

namespace heliora::host {

AutostartEntry::AutostartEntry(QString path)
    : m_path(std::move(path))
{
}

QString AutostartEntry::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/autostart/heliora-widgets.desktop");
}

QString AutostartEntry::quotedProgram(const QString& program)
{
    static const QRegularExpression safe(QStringLiteral("^[A-Za-z0-9_./+-]+$"));
    QString escaped = program;
    escaped.replace(QLatin1String("%"), QLatin1String("%%"));
    if (safe.match(program).hasMatch())
        return escaped;
    QString quoted;
    for (const QChar c : escaped) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    // In a desktop file a backslash is itself escaped once more by the string rules of the key's value.
    quoted.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray AutostartEntry::contents(bool enabled, const QString& program)
{
    QString text = QStringLiteral("[Desktop Entry]\n"
                                  "Type=Application\n"
                                  "Name=Heliora Widgets\n"
                                  "Name[de]=Heliora-Widgets\n"
                                  "Comment=Brings back the Heliora widgets placed on the desktop\n"
                                  "Comment[de]=Holt die Heliora-Widgets auf dem Schreibtisch zurück\n"
                                  "Exec=%1 --autostart\n"
                                  "Icon=app.heliora.Heliora\n"
                                  "Terminal=false\n"
                                  "NoDisplay=true\n"
                                  "X-GNOME-Autostart-enabled=%2\n"
                                  "Hidden=%3\n")
                       .arg(quotedProgram(program), enabled ? QStringLiteral("true") : QStringLiteral("false"),
                           enabled ? QStringLiteral("false") : QStringLiteral("true"));
    return text.toUtf8();
}

bool AutostartEntry::setEnabled(bool enabled, const QString& program) const
{
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return false;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(contents(enabled, program));
    return file.commit();
}

bool AutostartEntry::isEnabled() const
{
    QFile file(m_path);
    if (!QFileInfo(m_path).isFile() || file.size() > 64 * 1024 || !file.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (line.trimmed() == "Hidden=true")
            return false;
    }
    return true;
}

} // namespace heliora::host
