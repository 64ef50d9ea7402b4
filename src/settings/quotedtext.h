#pragma once

#include <QString>
#include <QStringView>

namespace heliora {

/// `text` in double quotes, fit for one line of an error message: control characters (C0, DEL, C1) are shown
/// as escapes ("\n", "\t", "\x1b", "\x9b"), as are the line and paragraph separators ("\u2028"), the quote and
/// the backslash; everything else, including non-ASCII letters, is kept. A terminal shows it as one line and
/// runs none of its escape sequences.
QString quotedForLine(QStringView text);

} // namespace heliora
