// Child processes whose standard streams the caller chooses: the encoder,
// fed through a pipe and watched through its standard error. The program
// and each argument are separate strings; no shell is involved.
#pragma once

#include <string>
#include <vector>

struct ChildProcessSetup {
    int stdinFd = -1;            // -1: /dev/null
    int stdoutFd = -1;           // -1: /dev/null
    int stderrFd = -1;           // -1: /dev/null
    std::string workingFolder;   // empty: the caller's current folder
    bool searchPath = false;     // look a bare argv[0] up on PATH
};

// Starts the program argv[0] with argv: at that path, or looked up on PATH
// when setup.searchPath is set.
// The chosen descriptors become the child's standard streams; no other
// descriptor is inherited, and the child starts with default signal
// handling. Returns the process id, or -1 with the error number in *error.
int startChildProcess(const std::vector<std::string>& argv, const ChildProcessSetup& setup,
                      int* error);

// Without blocking or reaping it: true while the child runs.
bool childProcessRunning(int pid);
// Blocks until the child ends and reaps it. Its exit code, 128 + the
// signal number when a signal ended it, or -1 when it cannot be waited for.
int waitChildProcess(int pid);
// Ends a child that has not been reaped yet.
void killChildProcess(int pid);
