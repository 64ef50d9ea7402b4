#pragma once

#include "model/planet.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace heliora {

/// What `heliora` was asked to do on its command line.
struct AppOptions {
    /// --screenshot FILE: render the first frame of the window into FILE (PNG, or any format Qt writes that the
    /// file's suffix names) and quit.
    std::optional<QString> screenshotPath;
    /// --detail BODY: also open BODY's fact window; with --screenshot, that window is the one rendered.
    std::optional<SolarSystemObject> detail;
    /// --date D: the clock starts at D (seconds since 1970) instead of now.
    std::optional<double> date;
    /// Arguments that are not options (date links, handled by the main window).
    QStringList links;
    bool showHelp = false;
};

/// The usage text of --help.
QString appUsage();

/// Reads the arguments after the program name (Qt's own options already removed). An unknown option, a
/// missing value, an empty file name or an unknown body gives no options and a one-line message in `error`.
std::optional<AppOptions> parseAppOptions(const QStringList& arguments, QString* error);

/// True when the raw command line asks for a screenshot, before Qt has seen it: a screenshot needs no display,
/// so the application then starts on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
bool wantsScreenshot(int argc, const char* const* argv);

} // namespace heliora
