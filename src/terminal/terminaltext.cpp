#include "terminal/terminaltext.h"

namespace heliora {

namespace {

    bool needsEscape(char32_t c)
    {
        if (c < 0x20 || (c >= 0x7f && c <= 0x9f))
            return true;
        switch (QChar::category(c)) {
        case QChar::Other_Format:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
        case QChar::Other_Surrogate:
        case QChar::Other_NotAssigned:
            return true;
        default:
            return false;
        }
    }

    void appendEscaped(QString& out, char32_t c)
    {
        switch (c) {
        case U'\n':
            out += QLatin1String("\\n");
            return;
        case U'\r':
            out += QLatin1String("\\r");
            return;
        case U'\t':
            out += QLatin1String("\\t");
            return;
        default:
            break;
        }
        if (c <= 0xff)
            out += QStringLiteral("\\x%1").arg(static_cast<uint>(c), 2, 16, QLatin1Char('0'));
        else if (c <= 0xffff)
            out += QStringLiteral("\\u%1").arg(static_cast<uint>(c), 4, 16, QLatin1Char('0'));
        else
            out += QStringLiteral("\\U%1").arg(static_cast<uint>(c), 8, 16, QLatin1Char('0'));
    }

    // Walks the text by code point; a lone surrogate is its own code point (and is escaped), not replaced.
    template <typename Visit> void forEachCodePoint(QStringView text, Visit&& visit)
    {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar unit = text[i];
            if (unit.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                if (!visit(QChar::surrogateToUcs4(unit, text[i + 1])))
                    return;
                ++i;
            } else if (!visit(char32_t(unit.unicode()))) {
                return;
            }
        }
    }

    void appendCodePoint(QString& out, char32_t c)
    {
        if (needsEscape(c))
            appendEscaped(out, c);
        else
            out += QString::fromUcs4(&c, 1);
    }

} // namespace

QString escapedForTerminal(QStringView text)
{
    QString out;
    out.reserve(text.size());
    forEachCodePoint(text, [&](char32_t c) {
        appendCodePoint(out, c);
        return true;
    });
    return out;
}

QString quotedForTerminal(QStringView text, qsizetype longest)
{
    QString out = QStringLiteral("\"");
    qsizetype shown = 0;
    bool cut = false;
    forEachCodePoint(text, [&](char32_t c) {
        if (shown++ == longest) {
            cut = true;
            return false;
        }
        if (c == U'"' || c == U'\\') {
            out += QLatin1Char('\\');
            out += QChar(c);
        } else {
            appendCodePoint(out, c);
        }
        return true;
    });
    out += QLatin1Char('"');
    if (cut)
        out += QLatin1String("...");
    return out;
}

} // namespace heliora
