#include "widget-interface/widgetextension.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QPluginLoader>

#include <gtest/gtest.h>

namespace heliora::widgetkit {
namespace {

    // The plug-in as the host finds it in the build tree: the interface id in its metadata (Q_PLUGIN_METADATA's
    // literal), in Q_DECLARE_INTERFACE's literal and in the constant agree, its metadata names its widgets, and its
    // root object is a bundle of those widgets in that order.
    TEST(WidgetBundle, ThePluginCarriesTheInterfaceIdAndItsWidgets)
    {
        QPluginLoader loader(QStringLiteral(HELIORA_EXTENSION_PATH));
        const QJsonObject meta = loader.metaData();
        EXPECT_EQ(meta.value(QLatin1String("IID")).toString(), QLatin1String(widgetBundleIid));
        EXPECT_EQ(QLatin1String(qobject_interface_iid<WidgetBundle*>()), QLatin1String(widgetBundleIid));
        const QJsonArray kinds { "PlanetsListWidget", "SolarSystemWidget" };
        EXPECT_EQ(meta.value(QLatin1String("MetaData")).toObject().value(QLatin1String("widgets")).toArray(), kinds);
        auto* bundle = qobject_cast<WidgetBundle*>(loader.instance());
        ASSERT_TRUE(bundle) << loader.errorString().toStdString();
        QJsonArray offered;
        for (const WidgetConfiguration* widget : bundle->widgets())
            offered.append(widget->kind());
        EXPECT_EQ(offered, kinds);
        EXPECT_EQ(findWidget(*bundle, QStringLiteral("Clock")), nullptr);
    }

    // Family names are how settings files and command lines name the sizes: each reads back as its family, and only
    // exactly as written.
    TEST(WidgetFamily, NamesReadBackExactly)
    {
        for (const WidgetFamily family : allFamilies)
            EXPECT_EQ(familyFromName(familyName(family)), family);
        for (const char* other : { "Small", "", "huge", "small " })
            EXPECT_EQ(familyFromName(QString::fromLatin1(other)), std::nullopt) << other;
    }

} // namespace
} // namespace heliora::widgetkit
