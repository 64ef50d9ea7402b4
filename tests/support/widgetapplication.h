#pragma once

// The one way a test program gets its Qt application. Each test folder that needs one registers it once, in its
// own application.cpp:
//
//     [[maybe_unused]] const auto* const app = heliora::test::addApplication<QApplication>();

#include <QFile>
#if __has_include(<QApplication>)
#include <QApplication>
#endif
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <utility>

namespace heliora::test {

/// A GoogleTest environment that builds the program's one application (a QApplication, or a QGuiApplication where
/// no widget is made) before the first test and deletes it after the last, before the program's statics go: Qt's
/// offscreen platform, English texts, United States numbers and dates, and a configuration folder of the program's
/// own, so that no test reads or writes the user's settings. `prepare` runs right after the application is built
/// (the app tests give it Heliora's look).
template <typename Application> class TestApplication : public ::testing::Environment {
public:
    explicit TestApplication(std::function<void(Application&)> prepare)
        : m_prepare(std::move(prepare))
    {
    }

    void SetUp() override
    {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("LANGUAGE", "en", 1);
        setenv("LC_ALL", "en_US.UTF-8", 1);
        setenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()).constData(), 1);
        setenv("XDG_RUNTIME_DIR", QFile::encodeName(m_config.path()).constData(), 1);
        m_app.emplace(m_argc, m_argv);
        if (m_prepare)
            m_prepare(*m_app);
    }

    void TearDown() override { m_app.reset(); }

private:
    std::function<void(Application&)> m_prepare;
    QTemporaryDir m_config;
    int m_argc = 1;
    char m_name[13] = "heliora_test";
    char* m_argv[2] = { m_name, nullptr };
    std::optional<Application> m_app;
};

template <typename Application>::testing::Environment* addApplication(std::function<void(Application&)> prepare = {})
{
    return ::testing::AddGlobalTestEnvironment(new TestApplication<Application>(std::move(prepare)));
}

#if __has_include(<QApplication>)
inline ::testing::Environment* addWidgetApplication(std::function<void(QApplication&)> prepare = {})
{
    return addApplication<QApplication>(std::move(prepare));
}
#endif

} // namespace heliora::test
