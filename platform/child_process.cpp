#include "platform/child_process.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

// Owns the spawn records.
struct SpawnRecords {
    posix_spawn_file_actions_t actions{};
    posix_spawnattr_t attributes{};
    SpawnRecords() {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnRecords() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnRecords(const SpawnRecords&) = delete;
    SpawnRecords& operator=(const SpawnRecords&) = delete;

    void stream(int fd, int target, int nullFlags) {
        if (fd < 0) posix_spawn_file_actions_addopen(&actions, target, "/dev/null", nullFlags, 0);
        else posix_spawn_file_actions_adddup2(&actions, fd, target);
    }
};

int exitCodeOf(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

} // namespace

int startChildProcess(const std::vector<std::string>& argv, const ChildProcessSetup& setup,
                      int* error) {
    int ignored = 0;
    if (!error) error = &ignored;
    if (argv.empty() || argv[0].empty()) {
        *error = ENOENT;
        return -1;
    }
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    SpawnRecords records;
    records.stream(setup.stdinFd, 0, O_RDONLY);
    records.stream(setup.stdoutFd, 1, O_WRONLY);
    records.stream(setup.stderrFd, 2, O_WRONLY);
    if (!setup.workingFolder.empty())
        posix_spawn_file_actions_addchdir_np(&records.actions, setup.workingFolder.c_str());
    posix_spawn_file_actions_addclosefrom_np(&records.actions, 3);
    // The program ignores SIGPIPE; the child must not inherit that.
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&records.attributes, &defaults);
    posix_spawnattr_setflags(&records.attributes, POSIX_SPAWN_SETSIGDEF);

    pid_t pid = 0;
    int result = (setup.searchPath ? posix_spawnp : posix_spawn)(
        &pid, args[0], &records.actions, &records.attributes, args.data(), environ);
    if (result != 0) {
        *error = result;
        return -1;
    }
    *error = 0;
    return pid;
}

bool childProcessRunning(int pid) {
    siginfo_t info{};
    int result;
    while ((result = waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT)) == -1 &&
           errno == EINTR) {
    }
    // No state change yet leaves si_pid at 0.
    return result == 0 && info.si_pid == 0;
}

int waitChildProcess(int pid) {
    int status = 0;
    pid_t done;
    while ((done = waitpid(pid, &status, 0)) == -1 && errno == EINTR) {
    }
    return done == pid ? exitCodeOf(status) : -1;
}

void killChildProcess(int pid) {
    if (pid > 0) kill(pid, SIGKILL);
}
