#pragma once

// The one way a widget test program gets its QApplication. Each widget test folder registers it once, in its
// own application.cpp:
//
//     [[maybe_unused]] const auto* const app = heliora::test::addWidgetApplication();

#include "strings/stringtable.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <utility>

namespace heliora::test {

/// A GoogleTest environment that builds the program's one QApplication before the first test and deletes it
/// after the last, before the program's statics go: Qt's offscreen platform, English texts, United States
/// numbers and dates. `prepare` runs right after the application is built (the app tests give it Heliora's look).
class WidgetApplication : public ::testing::Environment {
public:
    explicit WidgetApplication(std::function<void(QApplication&)> prepare)
        : m_prepare(std::move(prepare))
    {
    }

    void SetUp() override
    {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("LANGUAGE", "en", 1);
        setenv("LC_ALL", "en_US.UTF-8", 1);
        setStringsLanguage(QStringLiteral("en"));
        m_app.emplace(m_argc, m_argv);
        if (m_prepare)
            m_prepare(*m_app);
    }

    void TearDown() override { m_app.reset(); }

private:
    std::function<void(QApplication&)> m_prepare;
    int m_argc = 1;
    char m_name[12] = "widget_test";
    char* m_argv[2] = { m_name, nullptr };
    std::optional<QApplication> m_app;
};

inline ::testing::Environment* addWidgetApplication(std::function<void(QApplication&)> prepare = {})
{
    return ::testing::AddGlobalTestEnvironment(new WidgetApplication(std::move(prepare)));
}

} // namespace heliora::test
