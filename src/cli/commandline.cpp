#include "cli/commandline.h"

#include "cli/application.h"
#include "cli/cliargs.h"
#include "cli/commands.h"
#include "cli/usage.h"

#include "version/version.h"

#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <new>

namespace heliora::cli {

namespace {

    using Command = std::function<int(const QStringList&)>;

    Command commandNamed(QStringView name)
    {
        if (name == u"positions")
            return positionsCommand;
        if (name == u"facts")
            return factsCommand;
        if (name == u"render")
            return renderCommand;
        if (name == u"link")
            return linkCommand;
        if (name == u"dates")
            return datesCommand;
        if (name == u"settings") {
            // The settings command reads its own arguments; its usage comes from the table like every other.
            return [](const QStringList& arguments) {
                if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h")))
                    throw HelpRequest { QStringLiteral("settings") };
                return settingsCommand(arguments);
            };
        }
        return {};
    }

    QString commandList() { return commandNames().join(QLatin1String(", ")) + QLatin1String(" or --version"); }

    int printHelp(const QStringList& topic)
    {
        QString name = topic.join(QLatin1Char(' '));
        // `help --help` asks for the usage of help itself, as `COMMAND --help` does for any command.
        if (name == QLatin1String("--help") || name == QLatin1String("-h"))
            name = QStringLiteral("help");
        const QString text = topic.isEmpty() ? overviewText() : commandHelpText(name);
        if (text.isEmpty()) {
            throw UsageError(u"help",
                QStringLiteral("COMMAND must be one of %1").arg(commandNames().join(QLatin1String(", "))) + got(name));
        }
        const QByteArray bytes = text.toUtf8();
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
        return success;
    }

    int printVersion(const QStringList& rest)
    {
        if (!rest.isEmpty())
            throw UsageError(u"--version", QStringLiteral("takes nothing more") + got(rest.constFirst()));
        std::printf("heliora %.*s (build %.*s)\n", static_cast<int>(versionString.size()), versionString.data(),
            static_cast<int>(buildNumber.size()), buildNumber.data());
        return success;
    }

    // Qt reads arguments as UTF-8 and replaces what is not: such an argument would name another file or value
    // than the one given, so it is refused instead.
    QStringList decode(const QList<QByteArray>& arguments)
    {
        QStringList decoded;
        std::optional<qsizetype> notText;
        for (const QByteArray& argument : arguments) {
            decoded.append(QString::fromUtf8(argument));
            if (!notText && decoded.last().toUtf8() != argument)
                notText = decoded.size() - 1;
        }
        if (notText) {
            const QString command
                = *notText > 0 && commandNamed(decoded.constFirst()) ? decoded.constFirst() : QString();
            throw UsageError(command, QStringLiteral("arguments must be UTF-8 text") + got(decoded.at(*notText)));
        }
        return decoded;
    }

    int run(const QStringList& arguments)
    {
        if (arguments.isEmpty())
            throw UsageError({}, QStringLiteral("needs a COMMAND: %1").arg(commandList()) + got(std::nullopt));
        const QString& name = arguments.constFirst();
        const QStringList rest = arguments.mid(1);
        if (name == QLatin1String("help") || name == QLatin1String("--help") || name == QLatin1String("-h"))
            return printHelp(rest);
        if (name == QLatin1String("--version"))
            return printVersion(rest);
        const Command command = commandNamed(name);
        if (!command)
            throw UsageError({}, QStringLiteral("COMMAND must be one of %1").arg(commandList()) + got(name));
        // Rendering makes its own graphical application once its command line has been read.
        if (name != QLatin1String("render"))
            requireCoreApplication();
        try {
            return command(rest);
        } catch (const HelpRequest& request) {
            return printHelp({ request.command });
        }
    }

} // namespace

int runCommandLine(const QList<QByteArray>& arguments)
{
    int status = success;
    QString command;
    std::clearerr(stdout);
    try {
        const QStringList decoded = decode(arguments);
        command = decoded.value(0);
        status = run(decoded);
    } catch (const CommandError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return error.status();
    } catch (const std::bad_alloc&) {
        printErrorLine(commandNamed(command) ? command : QString(), QStringLiteral("ran out of memory"));
        return failure;
    } catch (const std::exception& error) {
        printErrorLine(commandNamed(command) ? command : QString(), QString::fromLocal8Bit(error.what()));
        return failure;
    }
    // A result that did not reach its reader (a full disk, a closed pipe's end) is a failed run.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        const int error = errno;
        printErrorLine(commandNamed(command) ? command : QString(),
            QStringLiteral("cannot write the result to stdout: %1").arg(QString::fromLocal8Bit(std::strerror(error))));
        return failure;
    }
    return status;
}

} // namespace heliora::cli
