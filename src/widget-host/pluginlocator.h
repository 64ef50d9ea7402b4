#pragma once

#include "widget-interface/widgetextension.h"

#include <QString>
#include <QStringList>

namespace heliora::host {

/// The file name of Heliora's widget extension.
inline constexpr char extensionFileName[] = "HelioraWidgetExtension.so";

/// Where the host looks for the extension, in order: the file or folder named by HELIORA_WIDGET_PATH alone when
/// it is set; otherwise the installed plug-in folder relative to the program's folder (`pluginDirFromBinDir`,
/// lib/heliora/plugins seen from bin/), then `buildDir`, the extension's folder in the build tree. The build tree
/// is passed only to a host that runs from its own build folder: an installed host never loads code from a
/// path that merely existed on the machine that built it.
QStringList extensionCandidates(const QString& overridePath, const QString& programDir,
    const QString& pluginDirFromBinDir, const QString& buildDir);

/// The extension as loaded: the bundle (owned by Qt's plug-in loader, alive until the process ends), the file it
/// came from, or why none could be used.
struct LoadedExtension {
    widgetkit::WidgetBundle* bundle = nullptr;
    QString path;
    QString error; ///< one line, for standard error: the last candidate's reason
};

/// Loads the first candidate that exists and is a compatible plug-in (the interface id and version of
/// widgetkit::widgetBundleIid). A candidate that is missing is skipped; one that exists but cannot be loaded or
/// has another interface ends the search with its reason. Never unloads what it loaded.
LoadedExtension loadExtension(const QStringList& candidates);

/// loadExtension over extensionCandidates for this program and environment.
LoadedExtension loadInstalledExtension();

} // namespace heliora::host
