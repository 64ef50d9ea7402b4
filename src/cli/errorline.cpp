#include "cli/errorline.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace heliora::cli {

namespace {

    // Echoes longer than this many characters are cut: an error line names the input, it does not replay it.
    constexpr qsizetype longestEcho = 100;

    // Characters that a terminal or a text viewer would not show as themselves on one line: control characters,
    // the line and paragraph separators, and the marks that change the direction of the text after them.
    bool hidden(char32_t c)
    {
        return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 || c == 0x061C || c == 0x200E
            || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069)
            || (c >= 0xD800 && c <= 0xDFFF);
    }

    void appendEscaped(QString& out, char32_t c)
    {
        switch (c) {
        case '\n':
            out += QLatin1String("\\n");
            return;
        case '\r':
            out += QLatin1String("\\r");
            return;
        case '\t':
            out += QLatin1String("\\t");
            return;
        default:
            break;
        }
        if (c < 0x100)
            out += QStringLiteral("\\x%1").arg(static_cast<uint>(c), 2, 16, QLatin1Char('0'));
        else
            out += QStringLiteral("\\u%1").arg(static_cast<uint>(c), 4, 16, QLatin1Char('0'));
    }

} // namespace

QString quoted(QStringView text)
{
    QString out;
    out.reserve(std::min(text.size(), longestEcho) + 8);
    out += QLatin1Char('"');
    qsizetype characters = 0;
    qsizetype i = 0;
    while (i < text.size() && characters < longestEcho) {
        const QChar unit = text[i];
        // A surrogate pair is one character and is shown as it is; a lone half of one is not text.
        if (unit.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += text.mid(i, 2);
            i += 2;
        } else {
            const char32_t c = unit.unicode();
            if (c == '"' || c == '\\') {
                out += QLatin1Char('\\');
                out += unit;
            } else if (hidden(c)) {
                appendEscaped(out, c);
            } else {
                out += unit;
            }
            ++i;
        }
        ++characters;
    }
    out += QLatin1Char('"');
    if (i < text.size())
        out += QLatin1String("...");
    return out;
}

QString got(std::optional<QStringView> input)
{
    return input ? QStringLiteral(" (got %1)").arg(quoted(*input)) : QStringLiteral(" (got nothing)");
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
    QString single;
    single.reserve(line.size());
    for (const QChar unit : std::as_const(line)) {
        if (hidden(unit.unicode()) && !unit.isSurrogate())
            appendEscaped(single, unit.unicode());
        else
            single += unit;
    }
    return single;
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
