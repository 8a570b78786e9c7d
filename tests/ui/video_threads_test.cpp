#include "production/video_threads.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

// A program that made a video and ends without making another still ends
// normally, though the generation's threads were never waited for.
TEST(VideoThreadsDeathTest, ProgramEndsNormallyAfterAGeneration) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            startVideoThread([] {});
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            std::exit(0);
        },
        testing::ExitedWithCode(0), "");
}
