#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

#include <functional>

class QAction;
class QMenuBar;
class QWidget;

namespace heliora {

/// A QObject that holds the commands of Heliora's menu bar as QActions (texts from the string tables, keys, what
/// they do), and builds the menu bar from them:
///
///   File: Settings… (Ctrl+,), Close Window (Ctrl+W: the active window), Quit (Ctrl+Q)
///   Help: Send Feedback, Follow on Twitter (no keys; open their addresses with QDesktopServices),
///         About Heliora
///
/// There is no command for a further main window, nor undo, redo or toolbar commands. The application owns the
/// commands; the main window shows them in its menu bar, and every other window that the application opens gets
/// the Settings and Quit keys too (windowKeys()), so that they work whichever window is active. Close Window's
/// key is the main window's alone: fact and settings windows close on Ctrl+W by themselves.
///
/// Actions by object name: "settings", "close_window", "quit", "send_feedback", "follow_on_twitter", "about";
/// the menus are "file_menu" and "help_menu".
class AppCommands : public QObject {
    Q_OBJECT
public:
    struct Targets {
        std::function<void()> openSettings;
        std::function<void()> openAbout;
        /// Opened by the Help commands; an invalid address makes its command do nothing.
        QUrl feedback;
        QUrl socialPage;
    };

    explicit AppCommands(Targets targets, QObject* parent = nullptr);

    /// A new menu bar with the File and Help menus, for the main window.
    QMenuBar* createMenuBar(QWidget* parent = nullptr) const;

    /// The commands whose keys every window of the application answers to: Settings… and Quit.
    QList<QAction*> windowKeys() const;

private:
    QAction* addCommand(const char* name, const char* textKey, std::function<void()> action);

    Targets m_targets;
    QAction* m_settings;
    QAction* m_closeWindow;
    QAction* m_quit;
    QAction* m_sendFeedback;
    QAction* m_followSocialPage;
    QAction* m_about;
};

} // namespace heliora
