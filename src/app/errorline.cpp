#include "app/errorline.h"

#include "terminal/terminaltext.h"

#include <cstdio>

namespace heliora {

void printError(const QString& message)
{
    const QByteArray line = QByteArrayLiteral("heliora: ") + escapedForTerminal(message).toUtf8() + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
    std::fflush(stderr);
}

} // namespace heliora
