#include "app/appcommands.h"

#include "strings/stringtable.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QMenuBar>

namespace heliora {

namespace {

    void openAddress(const QUrl& address)
    {
        // The result is not ours to report: the desktop shows its own message when nothing can open it.
        if (address.isValid() && !address.scheme().isEmpty())
            QDesktopServices::openUrl(address);
    }

} // namespace

AppCommands::AppCommands(Targets targets, QObject* parent)
    : QObject(parent)
    , m_targets(std::move(targets))
    , m_settings(addCommand("settings", "settings_command",
          [this] {
              if (m_targets.openSettings)
                  m_targets.openSettings();
          }))
    , m_closeWindow(addCommand("close_window", "close_window",
          [] {
              if (QWidget* window = QApplication::activeWindow())
                  window->close();
          }))
    , m_quit(addCommand("quit", "quit", [] { QCoreApplication::quit(); }))
    , m_sendFeedback(addCommand("send_feedback", "send_feedback", [this] { openAddress(m_targets.feedback); }))
    , m_followSocialPage(
          addCommand("follow_on_twitter", "follow_on_twitter", [this] { openAddress(m_targets.socialPage); }))
    , m_about(addCommand("about", "about_heliora", [this] {
        if (m_targets.openAbout)
            m_targets.openAbout();
    }))
{
    m_settings->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    m_closeWindow->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    m_quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    // Menu roles are for platforms that move commands into an application menu; Heliora's stay where they are.
    for (QAction* action : { m_settings, m_closeWindow, m_quit, m_sendFeedback, m_followSocialPage, m_about })
        action->setMenuRole(QAction::NoRole);
}

QAction* AppCommands::addCommand(const char* name, const char* textKey, std::function<void()> action)
{
    auto* command = new QAction(heliora::text(textKey), this);
    command->setObjectName(QLatin1String(name));
    connect(command, &QAction::triggered, this, std::move(action));
    return command;
}

QMenuBar* AppCommands::createMenuBar(QWidget* parent) const
{
    auto* bar = new QMenuBar(parent);
    QMenu* file = bar->addMenu(heliora::text("file_menu"));
    file->setObjectName(QStringLiteral("file_menu"));
    file->addActions({ m_settings, m_closeWindow, m_quit });
    QMenu* help = bar->addMenu(heliora::text("help_menu"));
    help->setObjectName(QStringLiteral("help_menu"));
    help->addActions({ m_sendFeedback, m_followSocialPage });
    help->addSeparator();
    help->addAction(m_about);
    return bar;
}

QList<QAction*> AppCommands::windowKeys() const { return { m_settings, m_quit }; }

} // namespace heliora
