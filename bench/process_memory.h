// The process's memory as the system counts it, for the benchmarks.
#pragma once

#include <cstdio>
#include <string>

namespace bench {

// A "Vm" line of /proc/self/status in MB: "VmRSS" (resident now) or
// "VmHWM" (the resident peak since the start or resetPeakMemory); -1 when
// the system does not tell.
inline long processMemoryMb(const char* field) {
    FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) return -1;
    const std::string format = std::string(field) + ": %ld kB";
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, status))
        if (std::sscanf(line, format.c_str(), &kb) == 1) break;
    std::fclose(status);
    return kb < 0 ? -1 : kb / 1024;
}

// Starts the resident peak again from the present resident size.
inline void resetPeakMemory() {
    if (FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", refs);
        std::fclose(refs);
    }
}

} // namespace bench
