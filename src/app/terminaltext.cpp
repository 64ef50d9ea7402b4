#include "app/terminaltext.h"

#include <QChar>

#include <cstdio>

namespace heliora {

namespace {

    constexpr qsizetype echoedCharacters = 64;

    // Control characters (C0, DEL, C1), line and paragraph separators, and format characters: the bidirectional
    // overrides and isolates among them reorder what follows, zero-width ones hide text.
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

    QString escaped(char32_t c)
    {
        switch (c) {
        case U'\n':
            return QStringLiteral("\\n");
        case U'\r':
            return QStringLiteral("\\r");
        case U'\t':
            return QStringLiteral("\\t");
        default:
            break;
        }
        if (c <= 0xff)
            return QStringLiteral("\\x%1").arg(static_cast<uint>(c), 2, 16, QLatin1Char('0'));
        if (c <= 0xffff)
            return QStringLiteral("\\u%1").arg(static_cast<uint>(c), 4, 16, QLatin1Char('0'));
        return QStringLiteral("\\U%1").arg(static_cast<uint>(c), 8, 16, QLatin1Char('0'));
    }

} // namespace

QString quotedForTerminal(QStringView input)
{
    QString result = QStringLiteral("\"");
    qsizetype shown = 0;
    for (const char32_t c : input.toUcs4()) {
        if (shown++ == echoedCharacters) {
            result += QStringLiteral("...");
            break;
        }
        if (c == U'\\' || c == U'"')
            result += QLatin1Char('\\') + QChar(c);
        else if (needsEscape(c))
            result += escaped(c);
        else
            result += QString::fromUcs4(&c, 1);
    }
    result += QLatin1Char('"');
    return result;
}

void printError(const QString& message)
{
    std::fprintf(stderr, "heliora: %s\n", message.toUtf8().constData());
    std::fflush(stderr);
}

} // namespace heliora
