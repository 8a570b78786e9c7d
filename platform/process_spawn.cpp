#include "platform/process_spawn.h"

#include <atomic>
#include <thread>

#include "platform/child_process.h"

namespace {

std::atomic<SpawnHandler> currentHandler{nullptr};

bool realSpawn(const std::vector<std::string>& argv) {
    ChildProcessSetup setup;
    setup.searchPath = true;
    int pid = startChildProcess(argv, setup, nullptr);
    if (pid < 0) return false;
    std::thread([pid] { waitChildProcess(pid); }).detach();
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
