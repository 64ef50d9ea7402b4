#pragma once

#include <QString>
#include <QStringView>

namespace heliora {

/// User input as an error line may echo it: in double quotes, on one line, at most 64 characters of it (then
/// "..."), with backslash, quote and every character that could move the cursor, change the terminal's state or
/// reorder the line written as an escape: "\n", "\t", "\x1b", "\u202e".
QString quotedForTerminal(QStringView input);

/// Writes "heliora: " and the message, and a line end, to stderr.
void printError(const QString& message);

} // namespace heliora
