// Runs a program (argv[0] a path, no shell) and returns what it wrote on
// its standard output, for tests that ask ffprobe and friends.
#pragma once

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/child_process.h"

// exitCode (may be null) receives the program's exit code, -1 when it could
// not be started.
inline std::string runCapture(const std::vector<std::string>& argv, int* exitCode = nullptr) {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) return {};
    ChildProcessSetup setup;
    setup.stdoutFd = out[1];
    int error = 0;
    int pid = startChildProcess(argv, setup, &error);
    close(out[1]);
    std::string output;
    char buffer[65536];
    ssize_t n;
    while ((n = read(out[0], buffer, sizeof buffer)) != 0) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        output.append(buffer, static_cast<std::size_t>(n));
    }
    close(out[0]);
    int code = pid > 0 ? waitChildProcess(pid) : -1;
    if (exitCode) *exitCode = code;
    return output;
}
