#include "settings/quotedtext.h"

#include <QList>

namespace heliora {

QString quotedForLine(QStringView text)
{
    QString quoted = QStringLiteral("\"");
    for (const uint code : text.toUcs4()) {
        const char32_t c = code;
        switch (c) {
        case U'\n':
            quoted += QLatin1String("\\n");
            continue;
        case U'\r':
            quoted += QLatin1String("\\r");
            continue;
        case U'\t':
            quoted += QLatin1String("\\t");
            continue;
        case U'"':
        case U'\\':
            quoted += QLatin1Char('\\');
            quoted += QChar(c);
            continue;
        default:
            break;
        }
        if (c < 0x20 || (c >= 0x7f && c < 0xa0))
            quoted += QStringLiteral("\\x%1").arg(static_cast<unsigned>(c), 2, 16, QLatin1Char('0'));
        else if (c == 0x2028 || c == 0x2029)
            quoted += QStringLiteral("\\u%1").arg(static_cast<unsigned>(c), 4, 16, QLatin1Char('0'));
        else
            quoted += QString::fromUcs4(&c, 1);
    }
    return quoted + QLatin1Char('"');
}

} // namespace heliora
