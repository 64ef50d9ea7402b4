#include "widget-host/pluginlocator.h"

#include "support/rows.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace heliora::host {
namespace {

    using test::PrintTo;

    // The override alone when set; else installed, then the build tree (when given).
    TEST(ExtensionCandidates, ComeInTheirOrder)
    {
        QTemporaryDir folder;
        EXPECT_EQ(extensionCandidates({}, "/usr/bin", "../lib/heliora/plugins", "/src/build/widget"),
            (QStringList {
                "/usr/lib/heliora/plugins/HelioraWidgetExtension.so", "/src/build/widget/HelioraWidgetExtension.so" }));
        EXPECT_EQ(extensionCandidates({}, "/usr/bin", "../lib/heliora/plugins", {}),
            QStringList { "/usr/lib/heliora/plugins/HelioraWidgetExtension.so" });
        EXPECT_EQ(
            extensionCandidates("/tmp/x.so", "/usr/bin", "../lib/heliora/plugins", "/b"), QStringList { "/tmp/x.so" });
        EXPECT_EQ(extensionCandidates(folder.path(), "/usr/bin", "../lib", "/b"),
            QStringList { folder.path() + "/HelioraWidgetExtension.so" });
    }

    struct LoadCase {
        std::string name;
        QStringList candidates;
        bool loads;
        QString errorPart;
    };

    class LoadExtension : public ::testing::TestWithParam<LoadCase> { };

    // A missing candidate is passed over; one that is there but unusable stops the search with its reason.
    TEST_P(LoadExtension, LoadsTheFirstUsableOrSaysWhy)
    {
        QTemporaryDir folder;
        QFile text(folder.path() + QStringLiteral("/HelioraWidgetExtension.so"));
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("not a plug-in\n");
        text.close();
        QStringList candidates = GetParam().candidates;
        candidates.replaceInStrings(QStringLiteral("@TEXT@"), text.fileName());

        const LoadedExtension loaded = loadExtension(candidates);
        EXPECT_EQ(loaded.bundle != nullptr, GetParam().loads) << loaded.error.toStdString();
        EXPECT_TRUE(loaded.error.contains(GetParam().errorPart)) << loaded.error.toStdString();
        EXPECT_FALSE(loaded.error.contains(QLatin1Char('\n')));
        if (loaded.bundle) {
            EXPECT_EQ(loaded.bundle->widgets().size(), 2);
        }
    }

    INSTANTIATE_TEST_SUITE_P(Table, LoadExtension,
        ::testing::Values(LoadCase { "BuildTree", { "/nonexistent/a.so", HELIORA_EXTENSION_PATH }, true, "" },
            LoadCase { "Missing", { "/nonexistent/a.so", "/nonexistent/b.so" }, false, "/nonexistent/b.so" },
            LoadCase { "Nothing", {}, false, "no place" },
            LoadCase { "NotAPlugin", { "@TEXT@", HELIORA_EXTENSION_PATH }, false, "not a Qt plug-in" },
            LoadCase { "OtherInterface", { HELIORA_OTHER_PLUGIN_PATH }, false, "app.heliora.test.Other/1" }),
        test::rowName);

} // namespace
} // namespace heliora::host
