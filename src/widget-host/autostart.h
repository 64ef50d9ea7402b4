#pragma once

#include <QString>

namespace heliora::host {

/// The user's XDG autostart entry of the host, heliora-widgets.desktop in $XDG_CONFIG_HOME/autostart (else
/// ~/.config/autostart). It overrides the entry of the same name that the package installs in
/// /etc/xdg/autostart, which is off (Hidden=true) until a user places a widget.
class AutostartEntry {
public:
    explicit AutostartEntry(QString path = defaultPath());

    static QString defaultPath();
    QString path() const { return m_path; }

    /// Writes the entry: on, starting `program --autostart`, or off (Hidden=true, which also hides the
    /// installed entry). False when the file could not be written.
    bool setEnabled(bool enabled, const QString& program) const;

    /// True when the user's entry exists and is not hidden.
    bool isEnabled() const;

    /// The entry's text. `program` is written as the desktop entry format quotes it when it has to.
    static QByteArray contents(bool enabled, const QString& program);
    /// `program` as one argument of an Exec line: bare when it holds only safe characters, else in double
    /// quotes with ", `, $ and \ escaped (and % doubled, as Exec requires).
    static QString quotedProgram(const QString& program);

private:
    QString m_path;
};

} // namespace heliora::host
