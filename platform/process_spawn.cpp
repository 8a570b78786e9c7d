#include "platform/process_spawn.h"

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/child_process.h"

namespace {

std::atomic<SpawnHandler> currentHandler{nullptr};

int startSearched(const std::vector<std::string>& argv) {
    ChildProcessSetup setup;
    setup.searchPath = true;
    return startChildProcess(argv, setup, nullptr);
}

bool realSpawn(const std::vector<std::string>& argv) {
    int pid = startSearched(argv);
    if (pid < 0) return false;
    std::thread([pid] { waitChildProcess(pid); }).detach();
    return true;
}

// Watches the child for verdictMs, then only reaps it.
void watchChild(int pid, int verdictMs, const std::function<void()>& failed) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(verdictMs);
    while (childProcessRunning(pid) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const bool decided = !childProcessRunning(pid);
    const int status = waitChildProcess(pid);
    if (decided && status != 0 && failed) failed();
}

} // namespace

bool spawnDetached(const std::vector<std::string>& argv) {
    SpawnHandler handler = currentHandler.load();
    return handler ? handler(argv) : realSpawn(argv);
}

bool spawnWatched(const std::vector<std::string>& argv, int verdictMs,
                  std::function<void()> failed) {
    if (SpawnHandler handler = currentHandler.load()) return handler(argv);
    int pid = startSearched(argv);
    if (pid < 0) return false;
    std::thread(watchChild, pid, verdictMs, std::move(failed)).detach();
    return true;
}

SpawnHandler setSpawnHandler(SpawnHandler handler) {
    return currentHandler.exchange(handler);
}
