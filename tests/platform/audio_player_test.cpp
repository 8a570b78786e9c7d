#include "platform/audio_player.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <string>
#include <vector>

#include "foundation/temp_folder.h"
#include "platform/child_process.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// The notices one play delivered, with the time each arrived.
struct Notices {
    std::mutex lock;
    std::condition_variable arrived;
    std::vector<AudioEnd> codes;
    Clock::time_point last;

    AudioEndHandler handler() {
        return [this](AudioEnd code) {
            std::lock_guard<std::mutex> hold(lock);
            codes.push_back(code);
            last = Clock::now();
            arrived.notify_all();
        };
    }
    bool waitFor(std::size_t count, std::chrono::milliseconds limit) {
        std::unique_lock<std::mutex> hold(lock);
        return arrived.wait_for(hold, limit, [&] { return codes.size() >= count; });
    }
    std::vector<AudioEnd> seen() {
        std::lock_guard<std::mutex> hold(lock);
        return codes;
    }
};

class AudioPlayerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { setenv("SDL_AUDIODRIVER", "dummy", 0); }

    std::string music(const std::string& name, double seconds) {
        std::string path = folder / name;
        ChildProcessSetup setup;
        setup.searchPath = true;
        int error = 0;
        int pid = startChildProcess({"ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i",
                                     "sine=frequency=440:duration=" + std::to_string(seconds),
                                     "-c:a", "libmp3lame", "file:" + path},
                                    setup, &error);
        EXPECT_GT(pid, 0);
        EXPECT_EQ(waitChildProcess(pid), 0);
        return path;
    }

    TempFolder folder;
};

TEST_F(AudioPlayerTest, PlaysToTheEndAndSaysSoOnce) {
    AudioPlayer player;
    ASSERT_TRUE(player.open(music("short.mp3", 0.4)));
    Notices notices;
    Clock::time_point start = Clock::now();
    ASSERT_TRUE(player.play(notices.handler()));
    ASSERT_TRUE(notices.waitFor(1, 5000ms));
    EXPECT_GE(notices.last - start, 300ms) << "the end comes after the music has played";
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(notices.seen(), std::vector<AudioEnd>{AudioEnd::Successful});
    player.close();
    EXPECT_FALSE(player.isOpen());
    EXPECT_EQ(notices.seen().size(), 1u) << "closing after the end adds no notice";
}

TEST_F(AudioPlayerTest, CloseAndStopAbortThePlay) {
    AudioPlayer player;
    std::string path = music("long.mp3", 5);
    ASSERT_TRUE(player.open(path));
    Notices closed;
    player.play(closed.handler());
    std::this_thread::sleep_for(100ms);
    player.close();
    ASSERT_TRUE(closed.waitFor(1, 2000ms));
    EXPECT_EQ(closed.seen(), std::vector<AudioEnd>{AudioEnd::Aborted});

    ASSERT_TRUE(player.open(path));
    Notices stopped;
    player.play(stopped.handler());
    EXPECT_TRUE(player.stop());
    ASSERT_TRUE(stopped.waitFor(1, 2000ms));
    EXPECT_EQ(stopped.seen(), std::vector<AudioEnd>{AudioEnd::Aborted});
    EXPECT_TRUE(player.isOpen()) << "stop keeps the file open";

    // A second play replaces the first one's notice.
    Notices first, second;
    player.play(first.handler());
    player.play(second.handler());
    ASSERT_TRUE(first.waitFor(1, 2000ms));
    EXPECT_EQ(first.seen(), std::vector<AudioEnd>{AudioEnd::Superseded});
    // Opening another file ends the play of the open one.
    ASSERT_TRUE(player.open(path));
    ASSERT_TRUE(second.waitFor(1, 2000ms));
    EXPECT_EQ(second.seen(), std::vector<AudioEnd>{AudioEnd::Aborted});
}

TEST_F(AudioPlayerTest, PauseHoldsTheEndBack) {
    AudioPlayer player;
    ASSERT_TRUE(player.open(music("short.mp3", 0.3)));
    Notices notices;
    player.play(notices.handler());
    player.pause();
    EXPECT_FALSE(notices.waitFor(1, 800ms)) << "a paused play does not end";
    player.resume();
    ASSERT_TRUE(notices.waitFor(1, 5000ms));
    EXPECT_EQ(notices.seen(), std::vector<AudioEnd>{AudioEnd::Successful});
}

TEST_F(AudioPlayerTest, RefusesWhatItCannotPlay) {
    AudioPlayer player;
    EXPECT_FALSE(player.open(folder / "missing.mp3"));
    EXPECT_FALSE(player.open(folder.write("text.mp3", std::string(4096, 'a'))));
    EXPECT_FALSE(player.isOpen());
    EXPECT_FALSE(player.play(nullptr));
    EXPECT_FALSE(player.pause());
    EXPECT_FALSE(player.resume());
    EXPECT_FALSE(player.stop());
    player.close();
}

} // namespace
