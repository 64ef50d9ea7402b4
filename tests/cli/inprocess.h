#pragma once

// heliora-cli's command lines run in the test's own process, through the same entry point as the program.

#include "cli/commandline.h"
#include "support/capturedoutput.h"

#include <QStringList>

namespace heliora::test {

inline Captured runInProcess(const QList<QByteArray>& arguments)
{
    return captureOutput([&] { return cli::runCommandLine(arguments); });
}

inline Captured runInProcess(const QStringList& arguments)
{
    QList<QByteArray> bytes;
    for (const QString& argument : arguments)
        bytes.append(argument.toUtf8());
    return runInProcess(bytes);
}

} // namespace heliora::test
