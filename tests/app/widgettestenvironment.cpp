#include "widgettestenvironment.h"

#include "appearance.h"
#include "stringtable.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace heliora::test {

namespace {

    class WidgetEnvironment : public ::testing::Environment {
    public:
        void SetUp() override
        {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            setenv("LANGUAGE", "en", 1);
            setenv("LC_ALL", "en_US.UTF-8", 1);
            setStringsLanguage(QStringLiteral("en"));
            m_app = std::make_unique<QApplication>(m_argc, m_argv);
            applyDarkAppearance(*m_app);
        }
        void TearDown() override { m_app.reset(); }

    private:
        int m_argc = 1;
        char m_name[10] = "app_tests";
        char* m_argv[2] = { m_name, nullptr };
        std::unique_ptr<QApplication> m_app;
    };

    [[maybe_unused]] ::testing::Environment* const environment
        = ::testing::AddGlobalTestEnvironment(new WidgetEnvironment);

} // namespace

ScopedLanguage::ScopedLanguage(const char* posixLocale)
{
    setenv("LC_ALL", posixLocale, 1);
    setenv("LANGUAGE", posixLocale, 1);
    setStringsLanguage(QString::fromLatin1(posixLocale));
}

ScopedLanguage::~ScopedLanguage()
{
    setenv("LC_ALL", "en_US.UTF-8", 1);
    setenv("LANGUAGE", "en", 1);
    setStringsLanguage(QStringLiteral("en"));
}

QString labelText(const QWidget* parent, const char* name)
{
    const auto* label = parent ? parent->findChild<const QLabel*>(QLatin1String(name)) : nullptr;
    return label ? label->text() : QStringLiteral("<no label %1>").arg(QLatin1String(name));
}

QString accessibleName(QWidget* widget)
{
    QAccessibleInterface* interface = widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
    return interface ? interface->text(QAccessible::Name) : QStringLiteral("<no accessible element>");
}

} // namespace heliora::test
