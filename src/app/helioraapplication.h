#pragma once

#include "app/appoptions.h"
#include "app/clockheartbeat.h"
#include "app/launchmessage.h"
#include "app/settingstab.h"
#include "app/singleinstance.h"
#include "clock/appstate.h"
#include "model/planet.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>
#include <vector>

class QApplication;

namespace heliora {

class AppCommands;
class DetailWindowController;
class LinkRouter;
class MainWindow;
class SettingsWindow;

/// Gives the QApplication Heliora's application-wide setup: its names and desktop id ("app.heliora.Heliora"),
/// the dark Fusion look, and Qt's own translations (context menus, standard buttons, key names) in the
/// language of Heliora's texts. Call once, right after the QApplication is built and before any window exists.
void prepareApplication(QApplication& app);

/// A QObject that is the running Heliora, one per process: it owns the root state (and with it the one clock),
/// the clock's heartbeat, the menu commands, the main window, the one settings window and the fact windows it
/// opens, and the link router that takes the launches of later runs; it routes date links to the clock. Windows
/// never reach for it or for any other global: they are handed the clock and callbacks into it.
///
/// It is built from the options that main() read from the command line, after prepareApplication(); start()
/// (or exec()) opens the windows. The heartbeat beats while the main window is shown. The application quits
/// when its last window closes, whichever it is; destroying this object deletes every window still open.
class HelioraApplication : public QObject {
    Q_OBJECT
public:
    explicit HelioraApplication(AppOptions options, QObject* parent = nullptr);
    ~HelioraApplication() override;

    /// Does what the options ask for without running the event loop: shows the main window (with the date, the
    /// links and the fact window the options name), or prepares the screenshot run. An exit status when that
    /// cannot start (2: the screenshot would be too large), else nothing.
    std::optional<int> start();

    /// start(), then the event loop until the last window closes, the screenshot is written, or SIGTERM, SIGHUP
    /// or SIGINT asks to end (status 0; a screenshot run that had not written its picture yet ends with 128 plus
    /// the signal's number). Returns the exit status.
    int exec();

    AppState& state() { return *m_state; }
    RotationState& rotation() { return m_state->rotation(); }
    ClockHeartbeat& heartbeat() { return *m_heartbeat; }

    /// The main window; null until it is first shown, and in a run that renders a fact window alone.
    MainWindow* mainWindow() const { return m_mainWindow.get(); }

    /// Shows the main window, building it on the first call, and raises and activates it.
    void showMainWindow();

    /// Shows the one settings window: builds it on General when none is open, else raises and activates the
    /// open one, which keeps its tab. With a tab, the window shows that tab. The window frees itself when it is
    /// closed; the next call builds a new one. The pointer is for immediate use.
    SettingsWindow* showSettingsWindow(std::optional<SettingsTab> tab = std::nullopt);
    /// The settings window while one is open, else null.
    SettingsWindow* settingsWindow() const;
    /// Opens a new fact window for the body and shows it. Every call opens a further window, also for a body
    /// whose window is open already. The window frees itself when closed; the pointer is for immediate use.
    DetailWindowController* openDetailWindow(const SolarSystemObject& body);

    /// A date link (heliora://?date=yyyyMMdd) sets the clock's date alone: play state and speed stay. Anything
    /// else, a malformed link too, changes nothing. True when the link was taken.
    bool openLink(const QString& link);

    /// Takes the launches of later runs on the listening socket that claimInstance() gave this, the first run.
    void listenForLaunches(FileDescriptor listeningSocket);

    /// A later launch: its arguments are read as a command line is at start-up, and the main window comes to
    /// the front with what they ask for: --date, then the links in their order (a malformed one changes
    /// nothing), then --detail's fact window and --settings' tab. Arguments that are no valid command line, or that ask
    /// for
    /// --screenshot, --help or --version, are refused whole: nothing changes. True when taken.
    bool handleLaunch(const LaunchRequest& request);

private:
    MainWindow& ensureMainWindow();
    SettingsWindow* makeSettingsWindow();
    std::optional<int> startScreenshot(QWidget* window);
    void endOnSignal(int signal);

    AppOptions m_options;
    // Destroyed in reverse order: the windows before the heartbeat, both before the clock they use.
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<ClockHeartbeat> m_heartbeat;
    std::unique_ptr<AppCommands> m_commands;
    std::unique_ptr<MainWindow> m_mainWindow;
    std::vector<QPointer<DetailWindowController>> m_factWindows;
    QPointer<SettingsWindow> m_settingsWindow;
    std::unique_ptr<LinkRouter> m_linkRouter;
};

} // namespace heliora
