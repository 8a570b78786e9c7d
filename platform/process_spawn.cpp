#include "platform/process_spawn.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

std::atomic<SpawnHandler> currentHandler{nullptr};

// Owns the spawn attribute records.
struct SpawnSetup {
    posix_spawn_file_actions_t actions{};
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        // Pipes of the encoder must not stay open in a browser.
        posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    }
    ~SpawnSetup() { posix_spawn_file_actions_destroy(&actions); }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
};

bool realSpawn(const std::vector<std::string>& argv) {
    if (argv.empty() || argv[0].empty()) return false;
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    SpawnSetup setup;
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0], &setup.actions, nullptr, args.data(), environ) != 0) return false;
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) == -1 && errno == EINTR) {
        }
    }).detach();
    return true;
}

} // namespace

bool spawnDetached(const std::vector<std::string>& argv) {
    SpawnHandler handler = currentHandler.load();
    return handler ? handler(argv) : realSpawn(argv);
}

SpawnHandler setSpawnHandler(SpawnHandler handler) {
    return currentHandler.exchange(handler);
}
