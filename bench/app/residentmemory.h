#pragma once

// The process's resident memory, for the whole-process measurements.

#include <cstdlib>
#include <fstream>
#include <string>

/// VmRSS of this process in kB, from /proc/self/status; -1 when it cannot be read.
inline long residentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}
