#pragma once

#include <QString>
#include <QStringView>

namespace heliora {

/// Text made fit for one line of a message on a terminal, so that nothing a user typed (or a file name, or a
/// system's error text) can end the line, move the cursor, change the terminal's state or reorder what follows.
/// Used by the error lines of heliora, heliora-cli and the settings store.
///
/// Escaped: control characters (C0, DEL, C1) as "\n", "\r", "\t" or "\x1b"; line and paragraph separators,
/// format characters (the bidirectional marks, overrides and isolates; zero-width characters), lone surrogates
/// and unassigned code points as "\u202e" (or "\U000e0001" beyond the first plane). Everything else, letters of
/// any script and emoji included, is kept.

/// `text` with those characters escaped; nothing else changes. For message text that is not an echo.
QString escapedForTerminal(QStringView text);

/// `text` as a message echoes it: in double quotes, escaped as above, with the quote and the backslash escaped
/// too. At most `longest` characters of it are shown (a character outside the first plane counts once); when
/// more was cut, "..." follows the closing quote.
QString quotedForTerminal(QStringView text, qsizetype longest = 100);

} // namespace heliora
