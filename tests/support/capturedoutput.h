#pragma once

// Runs code of this process with its stdout and stderr going to files, to see exactly what it printed: also what
// Qt or a library wrote straight to the file descriptors.

#include <QByteArray>

#include <cstdio>
#include <utility>

#include <unistd.h>

namespace heliora::test {

struct Captured {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

/// Calls `work` (returning an int) with file descriptors 1 and 2 redirected to temporary files and returns its
/// result with everything written to them. A crash inside `work` writes its report into those files, which are
/// lost: rerun the failing case alone to see it.
template <typename Work> Captured captureOutput(Work&& work)
{
    const auto readAll = [](std::FILE* file) {
        QByteArray bytes;
        std::rewind(file);
        char chunk[4096];
        for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
            bytes.append(chunk, static_cast<qsizetype>(n));
        return bytes;
    };
    std::fflush(stdout);
    std::fflush(stderr);
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    struct Redirection {
        int savedOut = dup(STDOUT_FILENO);
        int savedErr = dup(STDERR_FILENO);
        Redirection(std::FILE* out, std::FILE* err)
        {
            dup2(fileno(out), STDOUT_FILENO);
            dup2(fileno(err), STDERR_FILENO);
        }
        ~Redirection()
        {
            std::fflush(stdout);
            std::fflush(stderr);
            dup2(savedOut, STDOUT_FILENO);
            dup2(savedErr, STDERR_FILENO);
            close(savedOut);
            close(savedErr);
        }
    };
    Captured captured;
    {
        const Redirection redirection(out, err);
        captured.status = std::forward<Work>(work)();
    }
    captured.out = readAll(out);
    captured.err = readAll(err);
    std::fclose(out);
    std::fclose(err);
    return captured;
}

} // namespace heliora::test
