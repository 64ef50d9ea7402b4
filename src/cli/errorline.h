#pragma once

#include "terminal/terminaltext.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <stdexcept>
#include <string>

namespace heliora::cli {

/// What heliora-cli returns to its caller: 0 when the command did its work, 1 when the work failed (a file
/// that could not be written, a link that the app ignores), 2 when the command line was wrong.
enum ExitStatus : int { success = 0, failure = 1, badUsage = 2 };

/// Echoed input goes through quotedForTerminal ("terminal/terminaltext.h").

/// The end of a message about a value that is missing or not accepted: ` (got "x")`, or ` (got nothing)`.
QString got(std::optional<QStringView> input);

/// One error line, without its line break: "heliora-cli: COMMAND: MESSAGE", or "heliora-cli: MESSAGE" when the
/// command is empty. The message says what is wrong and what is accepted, e.g.
/// `--scale needs a number from 0.5 to 4 (got "x")`; echoed input goes through quotedForTerminal() or got().
QString errorLine(QStringView command, QStringView message);

/// Writes the error line and its line break to stderr in one write.
void printErrorLine(QStringView command, QStringView message);

/// A command's error, thrown out of the command and printed by the dispatcher as its one line on stderr,
/// with the exit status. what() is the whole line in UTF-8.
class CommandError : public std::runtime_error {
public:
    CommandError(ExitStatus status, QStringView command, QStringView message);
    ExitStatus status() const { return m_status; }

private:
    ExitStatus m_status;
};

/// A bad command line: exit status 2.
class UsageError : public CommandError {
public:
    UsageError(QStringView command, QStringView message)
        : CommandError(badUsage, command, message)
    {
    }
    /// A message without a command, printed as "heliora-cli: MESSAGE".
    explicit UsageError(const std::string& message)
        : UsageError({}, QString::fromStdString(message))
    {
    }
};

/// Work that failed although the command line was good: exit status 1.
class CommandFailure : public CommandError {
public:
    CommandFailure(QStringView command, QStringView message)
        : CommandError(failure, command, message)
    {
    }
};

} // namespace heliora::cli
