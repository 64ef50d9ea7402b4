#include "widget-host/pluginlocator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QPluginLoader>

namespace heliora::host {

QStringList extensionCandidates(
    const QString& overridePath, const QString& programDir, const QString& pluginDirFromBinDir, const QString& buildDir)
{
    auto inFolder = [](const QString& folder) {
        return QDir::cleanPath(folder + QLatin1Char('/') + QLatin1String(extensionFileName));
    };
    if (!overridePath.isEmpty()) {
        // A folder names the extension inside it; anything else is taken as the plug-in's file itself.
        return { QFileInfo(overridePath).isDir() ? inFolder(overridePath) : overridePath };
    }
    QStringList candidates;
    if (!programDir.isEmpty())
        candidates.append(inFolder(programDir + QLatin1Char('/') + pluginDirFromBinDir));
    if (!buildDir.isEmpty())
        candidates.append(inFolder(buildDir));
    candidates.removeDuplicates();
    return candidates;
}

LoadedExtension loadExtension(const QStringList& candidates)
{
    LoadedExtension result;
    for (const QString& path : candidates) {
        if (!QFileInfo(path).isFile()) {
            result.error = QStringLiteral("no widget extension at %1").arg(path);
            continue;
        }
        result.path = path;
        // One loader per process, never unloaded: the placed widgets' views are code of the plug-in.
        auto* loader = new QPluginLoader(path, QCoreApplication::instance());
        const QString iid = loader->metaData().value(QLatin1String("IID")).toString();
        if (loader->metaData().isEmpty()) {
            result.error = QStringLiteral("%1 is not a Qt plug-in: %2").arg(path, loader->errorString());
            return result;
        }
        if (iid != QLatin1String(widgetkit::widgetBundleIid)) {
            result.error = QStringLiteral("%1 is a plug-in for %2, not for %3")
                               .arg(path, iid.isEmpty() ? QStringLiteral("another interface") : iid,
                                   QLatin1String(widgetkit::widgetBundleIid));
            return result;
        }
        QObject* root = loader->instance();
        auto* bundle = qobject_cast<widgetkit::WidgetBundle*>(root);
        if (!bundle) {
            result.error
                = QStringLiteral("cannot load %1: %2")
                      .arg(path,
                          root ? QStringLiteral("its root object is not a widget bundle") : loader->errorString());
            return result;
        }
        result.bundle = bundle;
        result.error.clear();
        return result;
    }
    if (candidates.isEmpty())
        result.error = QStringLiteral("no place to look for the widget extension");
    return result;
}

LoadedExtension loadInstalledExtension()
{
    const QString programDir = QCoreApplication::applicationDirPath();
    const bool inBuildTree = QFileInfo(programDir).canonicalFilePath()
        == QFileInfo(QStringLiteral(HELIORA_HOST_BUILD_DIR)).canonicalFilePath();
    return loadExtension(extensionCandidates(qEnvironmentVariable("HELIORA_WIDGET_PATH"), programDir,
        QStringLiteral(HELIORA_PLUGIN_DIR_FROM_BINDIR),
        inBuildTree ? QStringLiteral(HELIORA_EXTENSION_BUILD_DIR) : QString()));
}

} // namespace heliora::host
