#include "production/frame_pipe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "foundation/globals.h"
#include "net/socket_connect.h"

TEST(FramePipe, WriteReportsWhetherTheReaderTookTheWholeFrame) {
    ignoreBrokenPipeSignal();  // as the program does: a gone reader is a failed write
    stopFlag = 0;
    const std::vector<char> frame(1 << 20, 'j');  // many times a pipe's buffer
    struct Case {
        const char* reader;
        size_t readsBeforeClosing;  // SIZE_MAX: reads to the end
        int result;
    } cases[] = {
        {"gone before the frame", 0, 0},
        {"gone in the middle of the frame", 100000, 0},
        {"reads everything", SIZE_MAX, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reader);
        int ends[2];
        ASSERT_EQ(pipe(ends), 0);
        ASSERT_EQ(fcntl(ends[1], F_SETFL, O_NONBLOCK), 0);
        size_t taken = 0;
        std::thread reader([&] {
            char buffer[4096];
            while (taken < c.readsBeforeClosing) {
                ssize_t n = read(ends[0], buffer, std::min(sizeof buffer, c.readsBeforeClosing - taken));
                if (n <= 0) break;
                taken += static_cast<size_t>(n);
            }
            close(ends[0]);
        });
        if (c.readsBeforeClosing == 0) reader.join();

        FramePipe pipe{ends[1]};
        std::uint32_t written = 0;
        int result = writeFramePipe(&pipe, frame.data(), static_cast<std::uint32_t>(frame.size()), &written,
                                    nullptr);
        close(ends[1]);
        if (reader.joinable()) reader.join();
        EXPECT_EQ(result, c.result);
        if (c.result) {
            EXPECT_EQ(written, frame.size());
            EXPECT_EQ(taken, frame.size());
        } else {
            EXPECT_LT(written, frame.size());
            EXPECT_GE(written, taken) << "written counts what the pipe accepted";
        }
    }
}

TEST(FramePipe, AfterStopAWriteGivesUpOnlyOnAReaderThatStalled) {
    ignoreBrokenPipeSignal();
    const std::vector<char> frame(800 * 800 * 3, 'r');  // a raw 800 x 800 frame
    struct Case {
        const char* reader;
        int pauseMs;  // after its first 100000 bytes; -1: reads no more
        int result;
    } cases[] = {
        {"pauses for a moment", 600, 1},
        {"stops reading", -1, 0},
    };
    stopFlag = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reader);
        int ends[2];
        ASSERT_EQ(pipe(ends), 0);
        ASSERT_EQ(fcntl(ends[1], F_SETFL, O_NONBLOCK), 0);
        std::atomic<bool> writerDone{false};
        std::thread reader([&] {
            std::vector<char> buffer(100000);
            std::size_t taken = 0;
            while (taken < buffer.size()) {
                ssize_t n = read(ends[0], buffer.data(), buffer.size() - taken);
                if (n <= 0) break;
                taken += static_cast<std::size_t>(n);
            }
            if (c.pauseMs >= 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(c.pauseMs));
                while (read(ends[0], buffer.data(), buffer.size()) > 0) {
                }
            } else {
                // Held open until the writer gives up (or long past when it should have).
                auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
                while (!writerDone && std::chrono::steady_clock::now() < until)
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            close(ends[0]);
        });
        FramePipe pipe{ends[1]};
        std::uint32_t written = 0;
        auto start = std::chrono::steady_clock::now();
        int result = writeFramePipe(&pipe, frame.data(), static_cast<std::uint32_t>(frame.size()),
                                    &written, nullptr);
        auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        writerDone = true;
        close(ends[1]);
        reader.join();
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(written == frame.size(), c.result == 1);
        EXPECT_LT(seconds, 6.0) << "the writer must not wait on a stalled encoder";
    }
    stopFlag = 0;
}
