#pragma once

#include <QString>

namespace heliora {

/// Writes "heliora: " and the message, and a line end, to stderr. Messages follow one pattern: the option, what
/// is wrong and what is accepted, with echoed input through quotedForTerminal ("terminal/terminaltext.h"):
/// `heliora: --detail: unknown body "vulcan" (sun, mercury ... pluto)`. The whole line is escaped once more,
/// so that nothing a message carries can break it.
void printError(const QString& message);

} // namespace heliora
