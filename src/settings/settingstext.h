#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace heliora {

/// The largest settings file that is read or written, in bytes (1 MiB).
inline constexpr std::size_t largestSettingsFile = std::size_t { 1 } << 20;

/// What the bytes of a settings file say about "show_pluto", and where its line is. Pure functions on bytes,
/// no I/O: the file's reading and writing are in settingsio.h.
///
/// The file is an INI file as QSettings writes it ("[General]" then "show_pluto=true"). It is read line by line,
/// in one pass without recursion, in time linear in its size:
/// - An optional UTF-8 byte order mark at the very start is skipped. Lines end at LF, CR LF or a lone CR.
/// - A line whose first character after blanks (space, tab) is '[' starts a group: its name runs to the first
///   ']' (or the end of the line) and is trimmed of blanks. The general group is the one named "General" in
///   any case, and also every line before the first group line.
/// - A setting line is a line of the general group that reads, after blanks, exactly "show_pluto", blanks,
///   '=', and a value. The value, trimmed of blanks, means true when it is "true" in any ASCII case or "1";
///   any other value (false, 0, empty, quoted, with a comment, an @Variant(...)) means false. When several
///   setting lines are found, the last one counts, as in QSettings.
/// - Every other line (comments, other keys, other groups, text in any encoding) is not read and, on rewrite,
///   kept byte for byte.
/// A file of more than largestSettingsFile bytes, or one that holds a NUL byte, is not a settings file: it reads
/// as false and is never rewritten.
struct SettingsText {
    bool usable = true; ///< false: larger than the limit or not text (a NUL byte)
    bool showPluto = false; ///< the value that counts; false when there is no setting line
    bool hasSettingLine = false;
    std::size_t lineBegin = 0; ///< the last setting line, without its line end, when there is one
    std::size_t lineEnd = 0;
};

/// Reads the bytes of a settings file.
SettingsText readSettingsText(std::string_view bytes);

/// The file's bytes with "show_pluto" set to `value`: the last setting line replaced by "show_pluto=true" or
/// "show_pluto=false" (its line end kept); without one, a new line after the last entry of the general group,
/// else right after its "[General]" line, else "[General]" and the line at the start of the file (after a byte
/// order mark), as QSettings would write them. A new line ends as the line before it (LF, CR LF or CR; a last line
/// without a line end gets the file's first one, an empty file LF).
/// Every other byte is kept. Nothing when the file is not usable or the result would be larger than the limit.
std::optional<std::string> withShowPluto(std::string_view bytes, bool value);

} // namespace heliora
