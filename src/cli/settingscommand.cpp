#include "cli/cliargs.h"
#include "cli/commands.h"

#include "settings/sharedsettings.h"

namespace heliora::cli {

namespace {

    const QString command = QStringLiteral("settings");

    // "heliora-cli: settings: <what is wrong> (<what is accepted>)".
    [[noreturn]] void usageError(const QString& wrong, const QString& accepted)
    {
        throw UsageError(command, QStringLiteral("%1 (%2)").arg(wrong, accepted));
    }

    const QString allActions = QStringLiteral("get show_pluto, set show_pluto true|false, or path");

    // What each action takes after its name, for the messages about it.
    QString usageOf(const QString& action)
    {
        if (action == QLatin1String("get"))
            return QStringLiteral("get show_pluto");
        if (action == QLatin1String("set"))
            return QStringLiteral("set show_pluto true|false");
        return QStringLiteral("path, with nothing after it");
    }

    // Checks the words after the action: the key where there is one, the value, and nothing more.
    void checkArguments(const QStringList& arguments)
    {
        if (arguments.isEmpty())
            usageError(QStringLiteral("missing action"), allActions);
        const QString action = arguments.first();
        if (action != QLatin1String("get") && action != QLatin1String("set") && action != QLatin1String("path"))
            usageError(QStringLiteral("unknown action %1").arg(quotedForTerminal(action)), allActions);
        const qsizetype expected = action == QLatin1String("path") ? 1 : action == QLatin1String("get") ? 2 : 3;
        const QString key = QString::fromLatin1(showPlutoKey.data(), static_cast<qsizetype>(showPlutoKey.size()));
        if (expected >= 2) {
            if (arguments.size() < 2)
                usageError(QStringLiteral("%1 needs a key").arg(action), usageOf(action));
            if (arguments.at(1) != key)
                usageError(QStringLiteral("unknown key %1").arg(quotedForTerminal(arguments.at(1))), key);
        }
        if (expected == 3) {
            if (arguments.size() < 3)
                usageError(QStringLiteral("set %1 needs a value").arg(key), QStringLiteral("true or false"));
            const QString value = arguments.at(2);
            if (value != QLatin1String("true") && value != QLatin1String("false"))
                usageError(QStringLiteral("unknown value %1 for %2").arg(quotedForTerminal(value), key),
                    QStringLiteral("true or false"));
        }
        if (arguments.size() > expected)
            usageError(QStringLiteral("unexpected argument %1").arg(quotedForTerminal(arguments.at(expected))),
                usageOf(action));
    }

} // namespace

int settingsCommand(const QStringList& arguments)
{
    checkArguments(arguments);
    SharedSettings settings;
    // Without a configuration folder nothing can be found or stored: a problem of the environment, told like a
    // bad argument, whatever the action.
    if (settings.filePath().isEmpty())
        throw UsageError(command, settings.lastError());
    const QString action = arguments.first();
    if (action == QLatin1String("path")) {
        printText(settings.filePath());
        return success;
    }
    if (action == QLatin1String("get")) {
        printText(settings.showPluto() ? QStringLiteral("true") : QStringLiteral("false"));
        return success;
    }
    if (!settings.setShowPluto(arguments.at(2) == QLatin1String("true")))
        throw CommandFailure(command, settings.lastError());
    return success;
}

} // namespace heliora::cli
