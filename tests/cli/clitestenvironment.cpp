// One graphical application for the cli tests, which run heliora-cli's commands in their own process too, and a
// settings folder of their own, so that no test reads or writes the user's settings.

#include <QGuiApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace heliora::test {
namespace {

    struct CliEnvironment : ::testing::Environment {
        void SetUp() override
        {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            setenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()).constData(), 1);
            m_app = std::make_unique<QGuiApplication>(m_argc, m_argv);
        }
        void TearDown() override { m_app.reset(); }
        QTemporaryDir m_config;
        int m_argc = 1;
        char m_name[10] = "cli_tests";
        char* m_argv[2] = { m_name, nullptr };
        std::unique_ptr<QGuiApplication> m_app;
    };

    [[maybe_unused]] const auto* const environment = ::testing::AddGlobalTestEnvironment(new CliEnvironment);

} // namespace
} // namespace heliora::test
