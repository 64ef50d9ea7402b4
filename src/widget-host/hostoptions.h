#pragma once

#include "widget-interface/widgetextension.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace heliora::host {

/// What heliora-widgets was asked to do, read from its command line before any QApplication exists (a snapshot
/// needs no display, and --help and --version none either).
struct HostOptions {
    enum class Mode { restore, gallery, autostart, snapshot, timeline, help, version };
    Mode mode = Mode::restore;
    QString kind; ///< snapshot, timeline
    QString family; ///< snapshot, timeline: checked against the widget once the plug-in is loaded
    QString file; ///< snapshot: the PNG to write
    double scale = 1; ///< snapshot: device pixels per point
    std::optional<double> date; ///< snapshot: the instant to draw instead of the entry's (seconds since 1970)
    bool verbose = false; ///< one line on stderr per picture drawn
};

/// Reads the arguments after the program's name. A bad option, a missing or extra argument, a scale outside
/// 0.5 ... 4 or a date that is not ISO 8601 or @seconds gives nullopt and one line of explanation in `error`.
std::optional<HostOptions> parseHostOptions(const QStringList& arguments, QString* error);

/// Reads --date's value: "@SECONDS" since 1970, or an ISO 8601 date and time (without an offset it is local time).
std::optional<double> parseDateOption(const QString& value);

/// The --help text.
QString hostUsage();

} // namespace heliora::host
