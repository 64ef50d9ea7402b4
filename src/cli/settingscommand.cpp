#include "cli/cliargs.h"
#include "cli/commands.h"

#include "settings/quotedtext.h"
#include "settings/sharedsettings.h"

#include <cstdio>

namespace heliora::cli {

namespace {

    void printLine(const QString& text) { std::printf("%s\n", text.toUtf8().constData()); }

    // "heliora-cli: settings: <what is wrong> (<what is accepted>)": main() adds the program's name.
    [[noreturn]] void usageError(const QString& wrong, const QString& accepted)
    {
        throw UsageError(QStringLiteral("settings: %1 (%2)").arg(wrong, accepted).toStdString());
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
            usageError(QStringLiteral("unknown action %1").arg(quotedForLine(action)), allActions);
        const qsizetype expected = action == QLatin1String("path") ? 1 : action == QLatin1String("get") ? 2 : 3;
        const QString key = QString::fromLatin1(showPlutoKey.data(), static_cast<qsizetype>(showPlutoKey.size()));
        if (expected >= 2) {
            if (arguments.size() < 2)
                usageError(QStringLiteral("%1 needs a key").arg(action), usageOf(action));
            if (arguments.at(1) != key)
                usageError(QStringLiteral("unknown key %1").arg(quotedForLine(arguments.at(1))), key);
        }
        if (expected == 3) {
            if (arguments.size() < 3)
                usageError(QStringLiteral("set %1 needs a value").arg(key), QStringLiteral("true or false"));
            const QString value = arguments.at(2);
            if (value != QLatin1String("true") && value != QLatin1String("false"))
                usageError(QStringLiteral("unknown value %1 for %2").arg(quotedForLine(value), key),
                    QStringLiteral("true or false"));
        }
        if (arguments.size() > expected)
            usageError(
                QStringLiteral("unexpected argument %1").arg(quotedForLine(arguments.at(expected))), usageOf(action));
    }

} // namespace

int settingsCommand(const QStringList& arguments)
{
    checkArguments(arguments);
    SharedSettings settings;
    // Without a configuration folder nothing can be found or stored: a problem of the environment, told like a
    // bad argument, whatever the action.
    if (settings.filePath().isEmpty())
        throw UsageError("settings: " + settings.lastError().toStdString());
    const QString action = arguments.first();
    if (action == QLatin1String("path")) {
        printLine(settings.filePath());
        return 0;
    }
    if (action == QLatin1String("get")) {
        printLine(settings.showPluto() ? QStringLiteral("true") : QStringLiteral("false"));
        return 0;
    }
    if (!settings.setShowPluto(arguments.at(2) == QLatin1String("true"))) {
        std::fprintf(stderr, "heliora-cli: settings: %s\n", settings.lastError().toUtf8().constData());
        return 1;
    }
    return 0;
}

} // namespace heliora::cli
