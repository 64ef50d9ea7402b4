#include "settings/settingstext.h"

#include "settings/sharedsettings.h"

#include <cstring>

namespace heliora {

namespace {

    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

    bool isBlank(char c) { return c == ' ' || c == '\t'; }

    std::string_view trimmed(std::string_view text)
    {
        while (!text.empty() && isBlank(text.front()))
            text.remove_prefix(1);
        while (!text.empty() && isBlank(text.back()))
            text.remove_suffix(1);
        return text;
    }

    bool equalsIgnoringAsciiCase(std::string_view text, std::string_view lowercase)
    {
        if (text.size() != lowercase.size())
            return false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
            if (c != lowercase[i])
                return false;
        }
        return true;
    }

    // One line of the file: its text [begin, end) and where the next line starts (after LF, CR LF or CR).
    struct Line {
        std::size_t begin;
        std::size_t end;
        std::size_t next;
    };

    // Two memchr() calls rather than find_first_of("\r\n"), which tests each byte against each of the two: the
    // scan of a 1 MiB file takes a tenth of the time. The CR is looked for only up to the LF, so that the whole
    // file is still scanned once.
    Line lineAt(std::string_view bytes, std::size_t begin)
    {
        const std::string_view rest = bytes.substr(begin);
        const char* const lf = static_cast<const char*>(std::memchr(rest.data(), '\n', rest.size()));
        const std::size_t upToLf = lf ? static_cast<std::size_t>(lf - rest.data()) : rest.size();
        const char* const cr = static_cast<const char*>(std::memchr(rest.data(), '\r', upToLf));
        if (!cr && !lf)
            return { begin, bytes.size(), bytes.size() };
        const std::size_t end = begin + (cr ? static_cast<std::size_t>(cr - rest.data()) : upToLf);
        const std::size_t next = bytes.substr(end, 2) == "\r\n" ? end + 2 : end + 1;
        return { begin, end, next };
    }

    // Everything one pass learns: the setting, and where a new setting line would go.
    struct Scan {
        SettingsText text;
        std::optional<Line> lastGeneralEntry; ///< the last non-blank, non-comment line of the general group
        std::optional<Line> lastGeneralHeader; ///< the last "[General]" line
        std::string_view lineEnd = "\n"; ///< the first line's end, for new lines
        std::size_t start = 0; ///< after the byte order mark
    };

    Scan scan(std::string_view bytes)
    {
        Scan result;
        if (bytes.size() > largestSettingsFile || bytes.find('\0') != std::string_view::npos) {
            result.text.usable = false;
            return result;
        }
        if (bytes.starts_with(byteOrderMark))
            result.start = byteOrderMark.size();
        bool inGeneral = true;
        bool sawLineEnd = false;
        for (std::size_t at = result.start; at < bytes.size();) {
            const Line line = lineAt(bytes, at);
            at = line.next;
            if (!sawLineEnd && line.next > line.end) {
                result.lineEnd = bytes.substr(line.end, line.next - line.end);
                sawLineEnd = true;
            }
            const std::string_view text = trimmed(bytes.substr(line.begin, line.end - line.begin));
            if (text.empty() || text.front() == ';' || text.front() == '#')
                continue;
            if (text.front() == '[') {
                const std::string_view name = text.substr(1, text.find(']') - 1);
                inGeneral = equalsIgnoringAsciiCase(trimmed(name), "general");
                if (inGeneral)
                    result.lastGeneralHeader = line;
                continue;
            }
            if (!inGeneral)
                continue;
            result.lastGeneralEntry = line;
            const std::size_t equals = text.find('=');
            if (equals == std::string_view::npos || trimmed(text.substr(0, equals)) != showPlutoKey)
                continue;
            const std::string_view value = trimmed(text.substr(equals + 1));
            result.text.hasSettingLine = true;
            result.text.showPluto = equalsIgnoringAsciiCase(value, "true") || value == "1";
            result.text.lineBegin = line.begin;
            result.text.lineEnd = line.end;
        }
        return result;
    }

} // namespace

SettingsText readSettingsText(std::string_view bytes) { return scan(bytes).text; }

std::optional<std::string> withShowPluto(std::string_view bytes, bool value)
{
    const Scan found = scan(bytes);
    if (!found.text.usable)
        return std::nullopt;
    const std::string setting = std::string(showPlutoKey) + (value ? "=true" : "=false");
    std::string result;
    if (found.text.hasSettingLine) {
        result.append(bytes.substr(0, found.text.lineBegin));
        result.append(setting);
        result.append(bytes.substr(found.text.lineEnd));
    } else if (const std::optional<Line> after
        = found.lastGeneralEntry ? found.lastGeneralEntry : found.lastGeneralHeader) {
        // The new line ends as the line before it: a lone CR followed by the next line's LF would join the two
        // into one CR LF. The file's last line, without a line end, gets the file's first one.
        const bool last = after->next == after->end;
        const std::string_view lineEnd = last ? found.lineEnd : bytes.substr(after->end, after->next - after->end);
        result.append(bytes.substr(0, after->next));
        if (last)
            result.append(lineEnd);
        result.append(setting);
        result.append(lineEnd);
        result.append(bytes.substr(after->next));
    } else {
        // No general group yet: it goes first, followed by an empty line when other groups follow, as QSettings
        // writes it. The file's first line end cannot join with what follows: that is the first line.
        result.append(bytes.substr(0, found.start));
        result.append("[General]");
        result.append(found.lineEnd);
        result.append(setting);
        result.append(found.lineEnd);
        if (found.start < bytes.size()) {
            result.append(found.lineEnd);
            result.append(bytes.substr(found.start));
        }
    }
    // Never write what would not read back as written.
    const SettingsText check = readSettingsText(result);
    if (!check.usable || check.showPluto != value)
        return std::nullopt;
    return result;
}

} // namespace heliora
