#pragma once

#include <QByteArray>
#include <QList>

namespace heliora::cli {

/// Runs one heliora-cli command line: `arguments` are the program's arguments after its name, as the bytes
/// that the shell passed. Prints the result on stdout, or one error line on stderr and nothing on stdout, and
/// returns the exit status (ExitStatus: 0 done, 1 the work failed, 2 a bad command line). Handles `help`,
/// `--help`, `--version` and the commands of the usage table; makes the Qt application that a command needs
/// (see application.h) and leaves it for releaseApplication(). Arguments must be UTF-8 text.
int runCommandLine(const QList<QByteArray>& arguments);

} // namespace heliora::cli
