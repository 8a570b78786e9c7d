#include "platform/process_spawn.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>

TEST(ProcessSpawn, StartsProgramWithArgumentsVerbatim) {
    std::string marker = std::filesystem::temp_directory_path() / ("tevrako-spawn-" + std::to_string(::getpid()));
    std::filesystem::remove(marker);
    // The odd characters reach the program as they are: no shell runs.
    std::string name = marker + " $(x);|&";
    ASSERT_TRUE(spawnDetached({"touch", name}));
    for (int i = 0; i < 200 && !std::filesystem::exists(name); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(std::filesystem::exists(name));
    std::filesystem::remove(name);
}

TEST(ProcessSpawn, MissingProgramIsReported) {
    EXPECT_FALSE(spawnDetached({"/nonexistent/tevrako-no-such-program"}));
    EXPECT_FALSE(spawnDetached({}));
}

// A watched opener reports a failure only when it ends with one inside the
// verdict time.
TEST(ProcessSpawn, WatchedProgramReportsOnlyAnEarlyFailure) {
    const struct {
        const char* script;
        int verdictMs;
        bool failed;
    } cases[] = {
        {"exit 3", 5000, true},
        {"exit 0", 5000, false},
        {"sleep 0.6; exit 3", 100, false},  // still running at the verdict
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        auto reported = std::make_shared<std::atomic<int>>(0);
        ASSERT_TRUE(spawnWatched({"sh", "-c", c.script}, c.verdictMs, [reported] { ++*reported; }));
        for (int i = 0; i < 100 && *reported == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!c.failed) std::this_thread::sleep_for(std::chrono::milliseconds(800));
        EXPECT_EQ(*reported, c.failed ? 1 : 0);
    }
    EXPECT_FALSE(spawnWatched({"/nonexistent/tevrako-no-such-program"}, 100, [] {}));
}
