#include "platform/process_spawn.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
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
