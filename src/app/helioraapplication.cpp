#include "app/helioraapplication.h"

#include "app/appcommands.h"
#include "app/appearance.h"
#include "app/detailwindowcontroller.h"
#include "app/errorline.h"
#include "app/linkrouter.h"
#include "app/mainwindow.h"
#include "app/product.h"
#include "app/quitsignals.h"
#include "app/screenshot.h"
#include "app/settingswindow.h"
#include "app/startupnotice.h"
#include "artwork/artwork.h"
#include "clock/currentdate.h"
#include "clock/datetexts.h"
#include "strings/stringtable.h"
#include "terminal/terminaltext.h"
#include "version/version.h"
#include "views/accessibility.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>
#include <QUrl>

#include <csignal>

namespace heliora {

namespace {

    constexpr int screenshotTimeoutMs = 30000;

    const char* signalName(int signal)
    {
        switch (signal) {
        case SIGTERM:
            return "SIGTERM";
        case SIGINT:
            return "SIGINT";
        case SIGHUP:
            return "SIGHUP";
        default:
            return "a signal";
        }
    }

} // namespace

void prepareApplication(QApplication& app)
{
    QApplication::setApplicationName(QStringLiteral("heliora"));
    QApplication::setApplicationVersion(QString::fromUtf8(versionString.data(), qsizetype(versionString.size())));
    // No application display name: Qt would append it to every window title, and a fact window's title is the
    // body's name alone.
    QApplication::setDesktopFileName(QStringLiteral("app.heliora.Heliora"));
    applyDarkAppearance(app);
    installAccessibleInterfaces();

    // Qt's own texts follow Heliora's: German texts get Qt's German, and a language that Heliora does not speak
    // gets English from both rather than a mixture. A missing translation file leaves Qt's texts English.
    const QString language = strings().language();
    if (language != QLatin1String("en")) {
        auto* qtTexts = new QTranslator(&app);
        if (qtTexts->load(QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QApplication::installTranslator(qtTexts);
        else
            delete qtTexts;
    }
}

HelioraApplication::HelioraApplication(AppOptions options, QObject* parent)
    : QObject(parent)
    , m_options(std::move(options))
    , m_state(std::make_unique<AppState>())
    , m_heartbeat(std::make_unique<ClockHeartbeat>(m_state->rotation()))
    , m_commands(std::make_unique<AppCommands>(AppCommands::Targets {
          [this] { showSettingsWindow(); },
          [this] { showSettingsWindow(SettingsTab::info); },
          QUrl(QString::fromUtf8(product::feedbackMailto.data(), qsizetype(product::feedbackMailto.size())),
              QUrl::StrictMode),
          QUrl(QString::fromUtf8(product::socialPageUrl.data(), qsizetype(product::socialPageUrl.size())),
              QUrl::StrictMode),
      }))
{
    if (m_options.date)
        rotation().setDate(*m_options.date);
}

HelioraApplication::~HelioraApplication()
{
    // First: a later launch must not be answered by a run whose windows are going.
    m_linkRouter.reset();
    // Windows still open when the event loop ends were never closed, so they did not free themselves.
    for (const QPointer<DetailWindowController>& window : m_factWindows)
        delete window.data();
    delete m_settingsWindow.data();
}

std::optional<int> HelioraApplication::start()
{
    if (m_options.detail && m_options.screenshotPath) {
        // A screenshot of a fact window shows that window alone; the clock has nothing to show.
        DetailWindowController* window = DetailWindowController::forBody(*m_options.detail);
        m_factWindows.emplace_back(window);
        return startScreenshot(window);
    }
    if (m_options.settings && m_options.screenshotPath) {
        // The settings window alone, on the clock that the options and links set (its date row shows it).
        for (const QString& link : m_options.links)
            openLink(link);
        SettingsWindow* window = makeSettingsWindow();
        window->setCurrentTab(*m_options.settings);
        return startScreenshot(window);
    }

    // Links given on the command line: a date link sets the clock's date; anything else is ignored silently.
    for (const QString& link : m_options.links)
        openLink(link);
    if (m_options.screenshotPath)
        return startScreenshot(&ensureMainWindow());

    showMainWindow();
    // The application icon follows the first frame: decoding its pictures takes longer than the rest of the
    // start-up (bench/app), and a window manager shows a late icon as well as an early one.
    afterFirstFrame(m_mainWindow.get(), [] { QApplication::setWindowIcon(artwork::applicationIcon()); });
    if (m_options.detail)
        openDetailWindow(*m_options.detail);
    if (m_options.settings)
        showSettingsWindow(m_options.settings);
    return std::nullopt;
}

std::optional<int> HelioraApplication::startScreenshot(QWidget* window)
{
    if (const QString problem = screenshotSizeProblem(window); !problem.isEmpty()) {
        printError(problem);
        return 2;
    }
    // Watched before it is shown: the window may paint its first frame while it is being shown.
    const QString path = *m_options.screenshotPath;
    auto painted = std::make_shared<bool>(false);
    afterFirstFrame(window, [this, window, path, painted] {
        *painted = true;
        // Asked first, without waiting for the event loop to pass the signal on: a run told to stop before
        // it wrote its picture must not write it and report success.
        if (const int signal = receivedTerminationSignal()) {
            endOnSignal(signal);
            return;
        }
        QCoreApplication::exit(writeScreenshot(window, path) ? 0 : 1);
    });
    QTimer::singleShot(screenshotTimeoutMs, window, [painted] {
        if (*painted)
            return;
        printError(QStringLiteral("--screenshot: no frame was painted within %1 s; no picture written")
                       .arg(screenshotTimeoutMs / 1000));
        QCoreApplication::exit(1);
    });
    window->show();
    return std::nullopt;
}

int HelioraApplication::exec()
{
    handleTerminationSignals(this, [this](int signal) { endOnSignal(signal); });
    if (const std::optional<int> status = start())
        return *status;
    return QApplication::exec();
}

void HelioraApplication::endOnSignal(int signal)
{
    // A screenshot run ends the loop as soon as its picture is written, so a signal that gets here came first:
    // the run did not do its job and must not look as if it had.
    if (m_options.screenshotPath) {
        printError(QStringLiteral("--screenshot: ended by %1 before the picture was written")
                       .arg(QLatin1String(signalName(signal))));
        QCoreApplication::exit(128 + signal);
        return;
    }
    // As closing the last window does: the event loop ends, and every window and the clock are freed.
    QCoreApplication::exit(0);
}

MainWindow& HelioraApplication::ensureMainWindow()
{
    if (!m_mainWindow) {
        m_mainWindow = std::make_unique<MainWindow>(
            rotation(), [this](const SolarSystemObject& body) { openDetailWindow(body); }, m_commands->createMenuBar());
        m_heartbeat->watch(m_mainWindow.get());
    }
    return *m_mainWindow;
}

SettingsWindow* HelioraApplication::makeSettingsWindow()
{
    m_settingsWindow = new SettingsWindow(
        rotation(), [this](const SolarSystemObject& body) { openDetailWindow(body); }, currentDate);
    m_settingsWindow->addActions(m_commands->windowKeys());
    return m_settingsWindow;
}

SettingsWindow* HelioraApplication::settingsWindow() const { return m_settingsWindow.data(); }

SettingsWindow* HelioraApplication::showSettingsWindow(std::optional<SettingsTab> tab)
{
    const bool open = !m_settingsWindow.isNull();
    SettingsWindow* window = open ? m_settingsWindow.data() : makeSettingsWindow();
    if (tab)
        window->setCurrentTab(*tab);
    window->show();
    if (open)
        window->raise();
    window->activateWindow();
    return window;
}

void HelioraApplication::showMainWindow()
{
    // A window already on screen may be behind others or minimised; a new one comes up on top by itself.
    const bool shown = ensureMainWindow().isVisible();
    m_mainWindow->setWindowState(m_mainWindow->windowState() & ~Qt::WindowMinimized);
    m_mainWindow->show();
    if (shown)
        m_mainWindow->raise();
    m_mainWindow->activateWindow();
}

DetailWindowController* HelioraApplication::openDetailWindow(const SolarSystemObject& body)
{
    std::erase_if(m_factWindows, [](const QPointer<DetailWindowController>& window) { return window.isNull(); });
    DetailWindowController* window = DetailWindowController::forBody(body);
    window->addActions(m_commands->windowKeys());
    m_factWindows.emplace_back(window);
    window->show();
    return window;
}

void HelioraApplication::listenForLaunches(FileDescriptor listeningSocket)
{
    m_linkRouter = std::make_unique<LinkRouter>(std::move(listeningSocket));
    connect(m_linkRouter.get(), &LinkRouter::requested, this, &HelioraApplication::handleLaunch);
    // Once the event loop has ended nobody would answer: later launches should find no one and start anew.
    connect(qApp, &QCoreApplication::aboutToQuit, m_linkRouter.get(), &LinkRouter::close);
}

bool HelioraApplication::handleLaunch(const LaunchRequest& request)
{
    const std::optional<AppOptions> options = parseAppOptions(request.arguments, nullptr);
    // Only what a window may do on a user's request: a received message never writes a file or prints.
    if (!options || options->screenshotPath || options->showHelp || options->showVersion || m_options.screenshotPath)
        return false;
    if (options->date)
        rotation().setDate(*options->date);
    for (const QString& link : options->links)
        openLink(link);
    showMainWindow();
    if (options->detail)
        openDetailWindow(*options->detail);
    if (options->settings)
        showSettingsWindow(options->settings);
    // The later launch's own feedback (a busy cursor, a spinning entry) ends here, as it would at its first window.
    endStartupNotice(request.startupToken);
    return true;
}

bool HelioraApplication::openLink(const QString& link)
{
    const std::optional<double> date = parseDateLink(link);
    if (!date)
        return false;
    rotation().setDate(*date);
    return true;
}

} // namespace heliora
