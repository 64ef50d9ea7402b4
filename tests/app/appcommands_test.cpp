#include "app/appcommands.h"

#include "addresscatcher.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

namespace heliora {
namespace {

    const QUrl feedback(QStringLiteral("mailto:feedback@example.org"));
    const QUrl socialPage(QStringLiteral("https://social.example.org/heliora"));

    QStringList names(const QList<QAction*>& actions)
    {
        QStringList list;
        for (const QAction* action : actions)
            list.append(action->isSeparator() ? QStringLiteral("-") : action->objectName());
        return list;
    }

    class Commands : public ::testing::Test {
    protected:
        QAction* command(const char* name) { return commands.findChild<QAction*>(QLatin1String(name)); }

        int settingsOpened = 0;
        int aboutOpened = 0;
        AppCommands commands { { [this] { ++settingsOpened; }, [this] { ++aboutOpened; }, feedback, socialPage } };
    };

    TEST_F(Commands, FileAndHelpInTheirOrder)
    {
        const std::unique_ptr<QMenuBar> bar(commands.createMenuBar());
        QStringList menus;
        for (const QAction* action : bar->actions())
            menus.append(action->menu()->objectName());
        EXPECT_EQ(menus, QStringList({ QStringLiteral("file_menu"), QStringLiteral("help_menu") }));
        const auto* file = bar->findChild<QMenu*>(QStringLiteral("file_menu"));
        const auto* help = bar->findChild<QMenu*>(QStringLiteral("help_menu"));
        EXPECT_EQ(names(file->actions()),
            QStringList({ QStringLiteral("settings"), QStringLiteral("close_window"), QStringLiteral("quit") }));
        EXPECT_EQ(names(help->actions()),
            QStringList({ QStringLiteral("send_feedback"), QStringLiteral("follow_on_twitter"), QStringLiteral("-"),
                QStringLiteral("about") }));
    }

    TEST_F(Commands, HelpOpensTheAddressesAndTouchesNothingElse)
    {
        test::AddressCatcher catcher;
        command("send_feedback")->trigger();
        command("follow_on_twitter")->trigger();
        EXPECT_EQ(catcher.opened, QStringList({ feedback.toString(), socialPage.toString() }));
        EXPECT_EQ(settingsOpened + aboutOpened, 0);

        command("about")->trigger();
        command("settings")->trigger();
        EXPECT_EQ(aboutOpened, 1);
        EXPECT_EQ(settingsOpened, 1);
        EXPECT_EQ(catcher.opened.size(), 2);
    }

    TEST_F(Commands, CloseWindowClosesTheActiveWindowWhicheverItIs)
    {
        QWidget first;
        QWidget second;
        for (QWidget* window : { &first, &second })
            window->show();
        for (QWidget* window : { &second, &first }) {
            window->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(window));
            command("close_window")->trigger();
            EXPECT_FALSE(window->isVisible());
        }
        // With no window active there is nothing to close.
        command("close_window")->trigger();
    }

} // namespace
} // namespace heliora
