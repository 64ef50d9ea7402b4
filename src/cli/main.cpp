// heliora-cli: Heliora's scripting front end. `heliora-cli help` prints the usage; the README describes what
// each command prints. Errors are one line on stderr with exit status 1 (the work failed) or 2 (a bad command
// line).

#include "cli/application.h"
#include "cli/commandline.h"

#include <QByteArray>
#include <QList>

int main(int argc, char** argv)
{
    heliora::cli::quietQtMessages();
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    const int status = heliora::cli::runCommandLine(arguments);
    heliora::cli::releaseApplication();
    return status;
}
