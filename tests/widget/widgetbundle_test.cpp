#include "widget/widgetbundle.h"

#include "strings/stringtable.h"

#include <gtest/gtest.h>

#include <string>

namespace heliora {
namespace {

    struct GalleryTextCase {
        std::string language;
        const char* kind;
        QString name;
        QString description;
    };

    void PrintTo(const GalleryTextCase& c, std::ostream* os) { *os << c.language << ' ' << c.kind; }

    class GalleryTexts : public ::testing::TestWithParam<GalleryTextCase> { };

    // The names and descriptions come from the extension's own table in the application table's language, English
    // for a language without one.
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
            GalleryTextCase { "de", "PlanetsListWidget", "Planetenliste", "Das Sonnensystem" },
            GalleryTextCase { "de", "SolarSystemWidget", "Sonnensystem", "Die Planeten" },
            GalleryTextCase { "fr", "SolarSystemWidget", "Solar System", "The planets around" }));

} // namespace
} // namespace heliora
