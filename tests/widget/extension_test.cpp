#include "widget/widgetbundle.h"

#include "strings/stringtable.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QPluginLoader>

#include <gtest/gtest.h>

#include <string>

namespace heliora {
namespace {

    using widgetkit::WidgetFamily;

    // The bundle lists its widgets in a fixed order, each with its families.
    TEST(Bundle, ListsItsWidgetsInOrderWithTheirFamilies)
    {
        const HelioraWidgetBundle bundle;
        const auto widgets = bundle.widgets();
        ASSERT_EQ(widgets.size(), 2);
        EXPECT_EQ(widgets[0]->kind(), QStringLiteral("PlanetsListWidget"));
        EXPECT_EQ(widgets[0]->supportedFamilies(), QList<WidgetFamily> { WidgetFamily::medium });
        EXPECT_EQ(widgets[1]->kind(), QStringLiteral("SolarSystemWidget"));
        EXPECT_EQ(widgets[1]->supportedFamilies(), (QList<WidgetFamily> { WidgetFamily::small, WidgetFamily::large }));
        EXPECT_EQ(widgetkit::findWidget(bundle, QStringLiteral("Clock")), nullptr);
    }

    struct GalleryTextCase {
        std::string language;
        const char* kind;
        QString name;
        QString description;
    };

    void PrintTo(const GalleryTextCase& c, std::ostream* os) { *os << c.language << ' ' << c.kind; }

    class GalleryTexts : public ::testing::TestWithParam<GalleryTextCase> { };

    // The names and descriptions come from the extension's own table in the application table's language.
    TEST_P(GalleryTexts, ComeFromTheExtensionsTable)
    {
        const GalleryTextCase& c = GetParam();
        setStringsLanguage(QString::fromStdString(c.language));
        const HelioraWidgetBundle bundle;
        const widgetkit::WidgetConfiguration* widget = widgetkit::findWidget(bundle, QString::fromLatin1(c.kind));
        ASSERT_TRUE(widget);
        EXPECT_EQ(widget->displayName(), c.name);
        EXPECT_TRUE(widget->description().startsWith(c.description)) << widget->description().toStdString();
        setStringsLanguage(QStringLiteral("en"));
    }

    INSTANTIATE_TEST_SUITE_P(Table, GalleryTexts,
        ::testing::Values(GalleryTextCase { "en", "PlanetsListWidget", "Planets List", "The solar system" },
            GalleryTextCase { "en", "SolarSystemWidget", "Solar System", "The planets around" },
            GalleryTextCase { "de", "PlanetsListWidget", "Planetenliste", "Das Sonnensystem" },
            GalleryTextCase { "de", "SolarSystemWidget", "Sonnensystem", "Die Planeten" },
            GalleryTextCase { "fr", "SolarSystemWidget", "Solar System", "The planets around" }));

    // The plug-in as the host finds it in the build tree: its metadata carries the interface id the host asks
    // for (the literal in Q_PLUGIN_METADATA and Q_DECLARE_INTERFACE agrees with the constant), and its root
    // object is the bundle.
    TEST(Plugin, LoadsFromTheBuildTreeAsAWidgetBundle)
    {
        QPluginLoader loader(QStringLiteral(HELIORA_EXTENSION_PATH));
        const QJsonObject meta = loader.metaData();
        EXPECT_EQ(meta.value(QLatin1String("IID")).toString(), QLatin1String(widgetkit::widgetBundleIid));
        EXPECT_EQ(QLatin1String(qobject_interface_iid<widgetkit::WidgetBundle*>()),
            QLatin1String(widgetkit::widgetBundleIid));
        EXPECT_EQ(meta.value(QLatin1String("MetaData")).toObject().value(QLatin1String("widgets")).toArray(),
            (QJsonArray { "PlanetsListWidget", "SolarSystemWidget" }));

        auto* bundle = qobject_cast<widgetkit::WidgetBundle*>(loader.instance());
        ASSERT_TRUE(bundle) << loader.errorString().toStdString();
        QStringList kinds;
        for (const widgetkit::WidgetConfiguration* widget : bundle->widgets())
            kinds.append(widget->kind());
        EXPECT_EQ(kinds, (QStringList { "PlanetsListWidget", "SolarSystemWidget" }));
    }

} // namespace
} // namespace heliora
