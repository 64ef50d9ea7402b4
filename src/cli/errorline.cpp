#include "cli/errorline.h"

#include "terminal/terminaltext.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace heliora::cli {

QString got(std::optional<QStringView> input)
{
    return input ? QStringLiteral(" (got %1)").arg(quotedForTerminal(*input)) : QStringLiteral(" (got nothing)");
}

QString errorLine(QStringView command, QStringView message)
{
    QString line = QStringLiteral("heliora-cli: ");
    if (!command.isEmpty()) {
        line += command;
        line += QLatin1String(": ");
    }
    line += message;
    // Echoes are quoted by their callers; what else a message carries (a system's error text, a path) is kept to
    // the one line here, whatever it holds.
    return escapedForTerminal(line);
}

void printErrorLine(QStringView command, QStringView message)
{
    const QByteArray line = errorLine(command, message).toUtf8() + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
    std::fflush(stderr);
}

CommandError::CommandError(ExitStatus status, QStringView command, QStringView message)
    : std::runtime_error(errorLine(command, message).toStdString())
    , m_status(status)
{
}

} // namespace heliora::cli
