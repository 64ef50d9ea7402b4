// One QApplication for the widget host tests, offscreen, with English texts.

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace heliora::test {
namespace {

    struct WidgetEnvironment : ::testing::Environment {
        void SetUp() override
        {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            setenv("LANGUAGE", "en", 1);
            m_app = std::make_unique<QApplication>(m_argc, m_argv);
        }
        void TearDown() override { m_app.reset(); }
        int m_argc = 1;
        char m_name[11] = "host_tests";
        char* m_argv[2] = { m_name, nullptr };
        std::unique_ptr<QApplication> m_app;
    };

    [[maybe_unused]] const auto* const environment = ::testing::AddGlobalTestEnvironment(new WidgetEnvironment);

} // namespace
} // namespace heliora::test
