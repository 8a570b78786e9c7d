// Crashing on purpose, in a forked child with the crash handler installed,
// so the test process itself lives on.
#pragma once

#include <csignal>
#include <string>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/crash_handler.h"

namespace crash_test {

// Exit codes of a child that did not crash as it should.
constexpr int kNotInstalled = 90;
constexpr int kSurvived = 91;

// Runs body in a child whose crash records go to folder; returns the
// child's wait status. body should end the child with a fatal signal.
template <typename Body>
int crashInChild(const std::string& folder, Body body) {
    pid_t pid = fork();
    if (pid == 0) {
        rlimit noCore{0, 0};
        setrlimit(RLIMIT_CORE, &noCore);  // a crash on purpose leaves no core file
        if (!installCrashHandler(folder)) _exit(kNotInstalled);
        body();
        _exit(kSurvived);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

// A true fault: a write to a page that may not be written.
inline void writeToProtectedPage() {
    void* page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    *static_cast<volatile int*>(page) = 1;
}

} // namespace crash_test
