#include "widget/widgetbundle.h"

#include <QObject>

namespace heliora {

/// The plug-in's root object: Heliora's widget bundle, as the widget host loads it from
/// HelioraWidgetExtension.so. Its metadata names the widgets' kinds, so a host can list them without loading.
class HelioraWidgetExtension : public QObject, public HelioraWidgetBundle {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "app.heliora.WidgetBundle/1" FILE "extensionplugin.json")
    Q_INTERFACES(heliora::widgetkit::WidgetBundle)
};

} // namespace heliora

#include "extensionplugin.moc"
