#pragma once

#include "app/settingstab.h"
#include "model/planet.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace heliora {

/// A value type: what `heliora` was asked to do on its command line. Read once, before any QApplication exists,
/// so that --help, --version and a bad option need no display.
struct AppOptions {
    /// --screenshot FILE: render the first frame of the window into FILE (PNG, or any format Qt writes that the
    /// file's suffix names) and quit.
    std::optional<QString> screenshotPath;
    /// --detail BODY: also open BODY's fact window; with --screenshot, that window is the one rendered.
    std::optional<SolarSystemObject> detail;
    /// --settings [TAB]: also open the settings window on TAB (General when no tab is named); with --screenshot,
    /// render that window.
    std::optional<SettingsTab> settings;
    /// --date D: the clock starts at D (seconds since 1970) instead of now.
    std::optional<double> date;
    /// Arguments that are not options (date links; anything else among them is ignored).
    QStringList links;
    bool showHelp = false;
    bool showVersion = false;
};

/// The usage text of --help.
QString appUsage();

/// The line of --version: "heliora 1.0.0 (build 1)".
QString versionLine();

/// The arguments after the program name, decoded as UTF-8 (bytes that are not UTF-8 become U+FFFD).
QStringList argumentsOf(int argc, const char* const* argv);

/// Reads the arguments after the program name. Options take their value as the next argument or after "="
/// (--date=2024-01-31); a value may not start with "--". Anything after "--" is a link. The tab of --settings
/// may be left out: the next argument is its tab unless it starts with "--" or holds "://" (a link).
/// --screenshot renders one window, so it refuses --detail and --settings together. Given twice, an option's
/// last value counts. --help or --version anywhere before "--" wins over everything else, errors included.
/// Otherwise an unknown option, a missing value, an empty file name or one that is not UTF-8, an unparsable date or an
/// unknown body (any case: "Mars", "MARS") gives no options and, in `error`, one line for "heliora: " to start:
/// `--detail: unknown body "vulcan" (sun, mercury ... pluto)`, the input quoted with quotedForTerminal().
std::optional<AppOptions> parseAppOptions(const QStringList& arguments, QString* error);

} // namespace heliora
