#include "settings/sharedsettings.h"

#include "settings/settingsio.h"
#include "settings/settingstext.h"
#include "terminal/terminaltext.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointer>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <optional>
#include <vector>

namespace heliora {

namespace {

    std::optional<std::string> suitePath()
    {
        const std::optional<std::string> folder = configFolder();
        if (!folder)
            return std::nullopt;
        return (*folder == "/" ? "" : *folder) + "/" + std::string(settingsSuiteName) + ".conf";
    }

    // The suite is unusable when its name is taken by something that is not a file, or by a link that leads to
    // no file (a loop). An absent file, or a link to an absent file, is one that the first write creates.
    bool suiteIsTaken(const std::string& path)
    {
        struct stat info { };
        if (::lstat(path.c_str(), &info) != 0)
            return false;
        if (::stat(path.c_str(), &info) != 0)
            return errno != ENOENT;
        return !S_ISREG(info.st_mode);
    }

    std::string ownFilePath(const std::string& suite)
    {
        QString program = QCoreApplication::applicationName();
        if (program.isEmpty())
            program = QStringLiteral("heliora");
        const std::string folder = suite.substr(0, suite.rfind('/'));
        return folder + "/heliora/" + QFile::encodeName(program).toStdString() + ".conf";
    }

    // Paths are shown whole (up to the longest path Linux takes), unlike echoed input.
    constexpr qsizetype longestPath = 4096;

    QString quotedPath(const std::string& path)
    {
        return quotedForTerminal(QFile::decodeName(path.c_str()), longestPath);
    }

    QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

    const QString noConfigFolder = QStringLiteral(
        "no configuration folder: neither XDG_CONFIG_HOME nor HOME is set (an absolute path in either)");

    // What each problem says: %1 is the quoted path, %2 the system's reason where the problem has one.
    struct ProblemText {
        SettingsProblem::Kind kind;
        const char* text;
    };
    constexpr ProblemText problemTexts[] = {
        { SettingsProblem::NotRegularFile, "%1 is not a regular file (a regular file or a link to one)" },
        { SettingsProblem::TooLarge, "%1 is or would grow larger than 1 MiB (a settings file of at most 1 MiB)" },
        { SettingsProblem::NotText, "%1 holds NUL bytes (a text file)" },
        { SettingsProblem::CannotRead, "cannot read %1: %2 (a file that this user may read)" },
        { SettingsProblem::ReadOnly, "%1 is read-only: %2 (a file that this user may write)" },
        { SettingsProblem::CannotCreateFolder, "cannot create the folder %1: %2 (a folder that this user may create)" },
        { SettingsProblem::LockNotRegularFile, "the lock %1 is not a regular file (nothing there, or a regular file)" },
        { SettingsProblem::LockBusy, "another writer held the lock %1 for a second (try again)" },
        { SettingsProblem::CannotLock, "cannot lock %1: %2 (a folder that this user may write)" },
        { SettingsProblem::CannotWrite,
            "cannot write %1: %2 (room on the disk and a folder that this user may write)" },
    };

    QString describe(const SettingsProblem& problem)
    {
        const auto* found = std::find_if(std::begin(problemTexts), std::end(problemTexts),
            [&problem](const ProblemText& entry) { return entry.kind == problem.kind; });
        if (found == std::end(problemTexts))
            return {};
        // One arg() call for both: a path that holds "%2" stays as it is.
        const QString text = QString::fromLatin1(found->text);
        const QString path = quotedPath(problem.path);
        return text.contains(QLatin1String("%2")) ? text.arg(path, systemError(problem.error)) : text.arg(path);
    }

    // The holders alive in this process, told of every successful write.
    std::vector<SharedSettings*>& holders()
    {
        static std::vector<SharedSettings*> live;
        return live;
    }

} // namespace

SharedSettings::SharedSettings(QObject* parent)
    : QObject(parent)
{
    if (const std::optional<std::string> suite = suitePath())
        m_path = suiteIsTaken(*suite) ? ownFilePath(*suite) : *suite;
    else
        m_error = noConfigFolder;
    holders().push_back(this);
}

SharedSettings::~SharedSettings() { std::erase(holders(), this); }

QString SharedSettings::filePath() const { return QFile::decodeName(m_path.c_str()); }

QString SharedSettings::suiteFilePath()
{
    const std::optional<std::string> suite = suitePath();
    return suite ? QFile::decodeName(suite->c_str()) : QString();
}

bool SharedSettings::showPluto() const
{
    if (m_path.empty())
        return false;
    const SettingsBytes file = readSettingsFile(m_path);
    return !file.problem && readSettingsText(file.bytes).showPluto;
}

bool SharedSettings::setShowPluto(bool value)
{
    if (m_path.empty()) {
        m_error = noConfigFolder;
        return false;
    }
    if (const SettingsProblem failed = writeShowPluto(m_path, value)) {
        m_error = describe(failed);
        return false;
    }
    m_error.clear();
    // A slot may destroy holders (closing a window): each is checked before it is told.
    std::vector<QPointer<SharedSettings>> toTell(holders().begin(), holders().end());
    for (const QPointer<SharedSettings>& holder : toTell) {
        if (holder)
            emit holder->showPlutoChanged(value);
    }
    return true;
}

} // namespace heliora
