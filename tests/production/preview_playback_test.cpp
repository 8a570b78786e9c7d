// The preview's render and player threads against a scripted frame source
// and a recording window: buffering, playback to the end, the music
// commands around a stall, closing mid-run, the queue's byte bound and a
// new preview that must wait for the last one's threads; and the queue
// itself between a sink thread and a taking thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "foundation/globals.h"
#include "foundation/linked_list.h"
#include "platform/command_ids.h"
#include "platform/main_command.h"
#include "platform/preview_window.h"
#include "platform/window_controls.h"
#include "production/preview_player.h"
#include "production/preview_queue.h"
#include "production/preview_run.h"
#include "production_support.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// What the scripted source writes.
struct Script {
    int frames = 6;
    int repeatsAfter = -1;        // frame after which two held frames follow
    int stallAfter = -1;          // frame after which the source stalls until the player waits
    bool untilAbandoned = false;  // keeps writing until the run is abandoned
    milliseconds gap{0};          // between frames
    std::size_t frameBytes = 16;
    milliseconds stopDelay{0};    // time taken to end once abandoned
};

// Everything the window and the main window were told, in order.
struct Log {
    std::mutex lock;
    std::vector<std::string> events;
    std::vector<Clock::time_point> frameTimes;
    std::vector<std::size_t> frameLengths;
    bool musicStarts = false;
};

Script script;
Log* log = nullptr;
std::atomic<int> sourcesRunning{0};
std::atomic<int> mostSourcesRunning{0};
std::atomic<int> framesWritten{0};  // writes begun by the scripted source

void record(const std::string& event) {
    std::lock_guard<std::mutex> hold(log->lock);
    log->events.push_back(event);
}

// Holds the source back until the player, having shown the given frame,
// finds the queue dry and begins a catch-up wait (or the run is abandoned).
void waitUntilThePlayerWaitsAfter(int frame, const RenderRunHooks& hooks) {
    const std::string shown = "frame " + std::to_string(frame);
    for (;;) {
        {
            std::lock_guard<std::mutex> hold(log->lock);
            auto at = std::find(log->events.begin(), log->events.end(), shown);
            if (at != log->events.end() && std::find(at, log->events.end(), "start") != log->events.end())
                return;
        }
        if (hooks.abandon()) return;
        std::this_thread::sleep_for(milliseconds(1));
    }
}

RenderOutcome scriptedSource(const RenderSettings&, const FrameDestination& destination,
                             const RenderRunHooks& hooks, int) {
    int now = ++sourcesRunning;
    int most = mostSourcesRunning;
    while (now > most && !mostSourcesRunning.compare_exchange_weak(most, now)) {}
    // One buffer for every frame: its address repeats, its content does not.
    std::vector<unsigned char> buffer(script.frameBytes);
    RenderOutcome outcome = RenderOutcome::Completed;
    for (int i = 0; script.untilAbandoned || i < script.frames; ++i) {
        if (hooks.abandon()) {
            std::this_thread::sleep_for(script.stopDelay);
            outcome = RenderOutcome::Stopped;
            break;
        }
        buffer[0] = static_cast<unsigned char>(i);
        std::uint32_t written = 0;
        ++framesWritten;
        destination.write(destination.handle, buffer.data(), static_cast<std::uint32_t>(buffer.size()),
                          &written, nullptr);
        if (i == script.repeatsAfter) {
            destination.repeat(destination.handle);
            destination.repeat(destination.handle);
        }
        if (i == script.stallAfter) waitUntilThePlayerWaitsAfter(i, hooks);
        std::this_thread::sleep_for(script.gap);
    }
    --sourcesRunning;
    return outcome;
}

void recordFrame(const unsigned char* bytes, std::size_t length, int, int) {
    std::lock_guard<std::mutex> hold(log->lock);
    log->events.push_back("frame " + std::to_string(bytes[0]));
    log->frameTimes.push_back(Clock::now());
    log->frameLengths.push_back(length);
}

// Set: the user closes the window the moment the start picture shows.
std::atomic<bool> closeAtStartPicture{false};

void recordPicture(PreviewPicture picture) {
    record(picture == PreviewPicture::Start ? "start" : picture == PreviewPicture::End ? "end" : "blank");
    if (picture == PreviewPicture::Start && closeAtStartPicture) previewRunState = 0;
}

const PreviewWindowHandler recordingWindow{nullptr, nullptr, recordFrame, recordPicture, nullptr};

void recordCommand(int id, int) {
    switch (id) {
    case IDM_PREVIEW_MUSIC_PLAY:
        record("play");
        if (log->musicStarts && previewRunState == 1) musicAuditionPlaying = 1;
        break;
    case IDM_PREVIEW_MUSIC_PAUSE: record("pause"); break;
    case IDM_PREVIEW_MUSIC_RESUME: record("resume"); break;
    case IDM_PREVIEW_MUSIC_CLOSE: record("close"); break;
    default: record("command " + std::to_string(id));
    }
}

// The stall may outlast more than one catch-up wait on a slow machine:
// every wait after the first (from its "start" to the next frame) repeats
// the first one's events and is dropped. So is a wait before the first
// frame, when the render started later than the start wait ended.
std::vector<std::string> foldRepeatedWaits(const std::vector<std::string>& seen) {
    std::vector<std::string> folded;
    bool waiting = false;
    bool framed = false;
    bool leading = false;
    for (const std::string& event : seen) {
        bool frame = event.rfind("frame", 0) == 0;
        if (frame) framed = true;
        if (event == "start" && !framed) leading = true;
        if (leading && !frame) continue;
        leading = false;
        if (event == "start" && waiting) {
            while (folded.back() != "start") folded.pop_back();
            folded.pop_back();
        }
        if (event == "start") waiting = true;
        if (frame) waiting = false;
        folded.push_back(event);
    }
    return folded;
}

class PreviewPlayback : public production_test::ProductionTest {
protected:
    void SetUp() override {
        ProductionTest::SetUp();
        log = &events;
        script = Script();
        sourcesRunning = 0;
        mostSourcesRunning = 0;
        framesWritten = 0;
        previewRunState = 0;
        musicAuditionPlaying = 0;
        savedProcessors = processorCount;
        processorCount = 4;  // 4 periods of start wait, 6 of catch-up
        setPreviewPeriods(milliseconds(5), milliseconds(2));
        setPreviewFrameSource(scriptedSource);
        setPreviewWindowHandler(&recordingWindow);
        setMainCommandHandler(recordCommand);
        setUpOutputControls(1, 0);
        addPicture("/first.jpg");
        addPicture("/second.jpg", 0);
    }
    void TearDown() override {
        previewRunState = 0;
        endPreviewThreads();
        setPreviewQueueLimit(0);
        setPreviewPeriods(milliseconds(0), milliseconds(0));
        setPreviewFrameSource(nullptr);
        setPreviewWindowHandler(nullptr);
        setMainCommandHandler(nullptr);
        processorCount = savedProcessors;
        musicAuditionPlaying = 0;
        log = nullptr;
        ProductionTest::TearDown();
    }

    std::vector<std::string> eventsSeen() {
        std::lock_guard<std::mutex> hold(events.lock);
        return events.events;
    }
    int framesSeen() {
        std::lock_guard<std::mutex> hold(events.lock);
        return static_cast<int>(events.frameTimes.size());
    }
    void waitForFrames(int count) {
        while (framesSeen() < count) std::this_thread::sleep_for(milliseconds(1));
    }
    void expectEndedAndEmpty(int state) {
        EXPECT_EQ(previewRunState, state);
        EXPECT_EQ(previewRenderDone, 1);
        EXPECT_EQ(previewPlayerDone, 1);
        EXPECT_TRUE(previewThreadsEnded());
        EXPECT_EQ(previewQueueEntries(), 0u);
        EXPECT_EQ(previewQueueBytes(), 0u);
        EXPECT_EQ(isControlEnabled(IDM_PREVIEW_VIDEO), 1);
    }

    Log events;
    int savedProcessors = 0;
};

TEST(PreviewBuffering, WaitsShrinkAsProcessorsGrow) {
    struct Case {
        int processors, start, catchUp;
    };
    const Case cases[] = {{1, 10, 18}, {2, 8, 14}, {3, 6, 10}, {4, 4, 6},
                          {5, 2, 4},   {8, 2, 4},  {0, 2, 4},  {-1, 2, 4}};
    for (const Case& c : cases) {
        PreviewWaits waits = previewBufferingWaits(c.processors);
        EXPECT_EQ(waits.start, c.start) << c.processors;
        EXPECT_EQ(waits.catchUp, c.catchUp) << c.processors;
    }
}

TEST(PreviewQueue, ASinkThreadAndATakingThreadPassEveryFrameOnceInOrder) {
    constexpr std::uint32_t kFrames = 100000;
    previewRunState = 1;
    // A bound of a few frames makes the sink wait for room now and then.
    setPreviewQueueLimit(16 * (sizeof(std::uint32_t) + kPreviewEntryBytes));
    std::atomic<bool> sinkDone{false};
    std::thread sink([&] {
        for (std::uint32_t i = 0; i < kFrames; ++i) {
            std::uint32_t written = 0;
            previewFrameSink(nullptr, &i, sizeof i, &written, nullptr);
        }
        sinkDone = true;
    });
    std::vector<std::uint32_t> taken;
    std::thread taker([&] {
        for (;;) {
            bool last = sinkDone;
            PreviewFrame frame;
            if (takePreviewFrame(&frame)) {
                std::uint32_t index = ~0u;
                if (frame.data.size() == sizeof index) std::memcpy(&index, frame.data.data(), sizeof index);
                taken.push_back(index);
            } else if (last) {
                break;
            } else {
                std::this_thread::yield();
            }
        }
    });
    sink.join();
    taker.join();
    previewRunState = 0;
    setPreviewQueueLimit(0);

    ASSERT_EQ(taken.size(), kFrames);
    for (std::uint32_t i = 0; i < kFrames; ++i) ASSERT_EQ(taken[i], i);
    EXPECT_EQ(previewQueueEntries(), 0u);
    EXPECT_EQ(previewQueueBytes(), 0u);
}

TEST_F(PreviewPlayback, PlaysEveryFrameOnceInOrderThenShowsTheEndPicture) {
    script.repeatsAfter = 2;
    enableControl(IDM_PREVIEW_VIDEO, 1);
    ASSERT_EQ(startPreview(), 0);  // no window to run
    EXPECT_EQ(isControlEnabled(IDM_PREVIEW_VIDEO), 0);
    endPreviewThreads();

    // Held frames show nothing new; a reused buffer is still a new frame.
    std::vector<std::string> expected = {"play",    "frame 0", "frame 1", "frame 2",
                                         "frame 3", "frame 4", "frame 5", "end"};
    EXPECT_EQ(eventsSeen(), expected);
    expectEndedAndEmpty(2);
    EXPECT_EQ(mostSourcesRunning, 1);
}

TEST_F(PreviewPlayback, HeldFramesKeepTheirPeriods) {
    setPreviewPeriods(milliseconds(5), milliseconds(20));
    script.frames = 3;
    script.repeatsAfter = 0;  // frame 0, two held periods, frames 1 and 2
    startPreview();
    endPreviewThreads();
    ASSERT_EQ(events.frameTimes.size(), 3u);
    // A late wake-up may be made up by up to 5 ms on the next frame.
    auto gap = [&](int i) { return events.frameTimes[i + 1] - events.frameTimes[i]; };
    EXPECT_GE(gap(0), milliseconds(3 * 20 - 6));
    EXPECT_GE(gap(1), milliseconds(20 - 6));
}

TEST_F(PreviewPlayback, StallPausesAndResumesTheMusicOnlyWhenItPlays) {
    struct Case {
        const char* name;
        bool music;
        int width;
        std::vector<std::string> expected;
    };
    // Frames 0-2, a stall until the player has begun a catch-up wait, frames 3-5.
    const std::vector<std::string> withMusic = {
        "play",  "frame 0", "frame 1", "frame 2", "start",   "pause",   "resume",
        "frame 3", "frame 4", "frame 5", "close", "end"};
    const std::vector<std::string> without = {"play",    "frame 0", "frame 1", "frame 2", "start",
                                              "frame 3", "frame 4", "frame 5", "end"};
    const std::vector<std::string> narrow = {
        "play",  "blank",   "frame 0", "frame 1", "frame 2", "start",
        "blank", "frame 3", "frame 4", "frame 5", "end"};
    const std::vector<std::string> belowEndPicture = {
        "play",  "frame 0", "frame 1", "frame 2", "start",
        "blank", "frame 3", "frame 4", "frame 5", "end"};
    const Case cases[] = {{"music", true, 400, withMusic},
                          {"no music", false, 400, without},
                          {"narrower than the start picture", false, 148, narrow},
                          {"narrower than the end picture", false, 256, belowEndPicture}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        {
            std::lock_guard<std::mutex> hold(events.lock);
            events.events.clear();
            events.frameTimes.clear();
            events.musicStarts = c.music;
        }
        script = Script();
        script.stallAfter = 2;
        videoWidth = c.width;
        startPreview();
        endPreviewThreads();
        std::vector<std::string> folded = foldRepeatedWaits(eventsSeen());
        EXPECT_EQ(folded, c.expected);
        EXPECT_EQ(previewRunState, 2);
    }
}

TEST_F(PreviewPlayback, ClosingDuringACatchUpWaitLeavesTheStartPicture) {
    closeAtStartPicture = true;
    script.stallAfter = 0;  // the queue runs dry after the first frame
    videoWidth = 256;       // narrower than the end picture: a running preview blanks
    startPreview();
    endPreviewThreads();
    closeAtStartPicture = false;
    std::vector<std::string> seen = eventsSeen();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), "start");
    EXPECT_EQ(std::count(seen.begin(), seen.end(), "blank"), 0);
    EXPECT_EQ(previewRunState, 0);
}

TEST_F(PreviewPlayback, ClosingMidRunEmptiesTheQueueAndEndsBothThreads) {
    struct Case {
        const char* name;
        int processors;           // the start wait: 4 or 10 periods
        std::size_t queueLimit;   // 0: the default bound
        int framesBeforeClose;
    };
    const Case cases[] = {{"while playing", 4, 0, 3},
                          {"while the sink waits for room", 1, 4 * (16 + kPreviewEntryBytes), 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        processorCount = c.processors;
        setPreviewPeriods(milliseconds(c.framesBeforeClose ? 5 : 200), milliseconds(2));
        setPreviewQueueLimit(c.queueLimit);
        script = Script();
        script.untilAbandoned = true;
        script.gap = milliseconds(c.framesBeforeClose ? 1 : 0);
        startPreview();
        waitForFrames(c.framesBeforeClose);
        if (!c.framesBeforeClose) {
            // The queue fills during the long start wait, and the sink waits.
            while (previewQueueEntries() < 4) std::this_thread::sleep_for(milliseconds(1));
        }
        Clock::time_point closed = Clock::now();
        previewRunState = 0;  // what closing the window does
        endPreviewThreads();
        EXPECT_LT(Clock::now() - closed, milliseconds(1000));
        expectEndedAndEmpty(0);
        std::vector<std::string> seen = eventsSeen();
        EXPECT_EQ(std::count(seen.begin(), seen.end(), "end"), 0);
        setPreviewQueueLimit(0);
    }
}

TEST_F(PreviewPlayback, LargeFramesWaitInTheSinkOnceTheQueueIsFull) {
    // 3840 x 2160 rgb24 frames, rendered while the player is still waiting.
    script.untilAbandoned = true;
    script.frameBytes = std::size_t{3840} * 2160 * 3;
    const std::size_t cost = script.frameBytes + kPreviewEntryBytes;
    processorCount = 1;
    // The player waits far longer than the queue takes to fill, however slow the machine.
    setPreviewPeriods(milliseconds(60000), milliseconds(2));
    resetPreviewQueuePeak();
    Clock::time_point started = Clock::now();
    startPreview();
    while (previewQueueBytes() + cost <= kPreviewQueueLimitBytes)
        std::this_thread::sleep_for(milliseconds(5));
    // One more frame reaches the sink and waits there...
    for (int i = 0; i < 1000 && framesWritten.load() <= static_cast<int>(previewQueueEntries()); ++i)
        std::this_thread::sleep_for(milliseconds(5));
    // ...and in the time of three more frames at the pace they came, none gets past it.
    std::this_thread::sleep_for((Clock::now() - started) * 3 / static_cast<int>(previewQueueEntries()));
    EXPECT_EQ(framesWritten.load(), static_cast<int>(previewQueueEntries()) + 1);
    EXPECT_LE(previewQueuePeakBytes(), kPreviewQueueLimitBytes);
    previewRunState = 0;
    endPreviewThreads();
    expectEndedAndEmpty(0);
}

TEST_F(PreviewPlayback, StartingAgainWaitsForTheLastRenderToEnd) {
    script.untilAbandoned = true;
    script.gap = milliseconds(1);
    script.stopDelay = milliseconds(150);
    startPreview();
    waitForFrames(2);
    previewRunState = 0;
    // Started again at once: the first source is still ending.
    togglePreview();
    waitForFrames(framesSeen() + 2);
    EXPECT_EQ(mostSourcesRunning, 1);
    EXPECT_EQ(previewRunState, 1);
    EXPECT_EQ(togglePreview(), 0);  // nothing while it runs
    previewRunState = 0;
    endPreviewThreads();
    EXPECT_EQ(mostSourcesRunning, 1);
}

TEST_F(PreviewPlayback, AnAuditionIsStoppedAndRefusedChecksStartNothing) {
    setControlText(IDC_MUSIC_AUDITION, "停止");
    startPreview();
    endPreviewThreads();
    std::vector<std::string> seen = eventsSeen();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), "command " + std::to_string(IDC_MUSIC_AUDITION));

    {
        std::lock_guard<std::mutex> hold(events.lock);
        events.events.clear();
    }
    comboSetCurSel(IDC_VIDEO_SIZE, 0);  // no size chosen
    previewRunState = 2;
    EXPECT_EQ(startPreview(), 0);
    EXPECT_EQ(previewRunState, 2);
    EXPECT_TRUE(previewThreadsEnded());
    EXPECT_TRUE(eventsSeen().empty());
    ASSERT_FALSE(production_test::recorded().boxes.empty());
    EXPECT_EQ(production_test::recorded().boxes.back().text, "请选择视频尺寸");
}

TEST_F(PreviewPlayback, RendersTheListThroughTheEngine) {
    setPreviewFrameSource(nullptr);
    std::string red = folder / "red.png", blue = folder / "blue.png";
    production_test::writeSolidPicture(red, 300, 200, "red");
    production_test::writeSolidPicture(blue, 200, 300, "blue");
    auto* first = static_cast<PictureRecord*>(linkedlist_get(pictureList, 0));
    auto* second = static_cast<PictureRecord*>(linkedlist_get(pictureList, 1));
    first->path = red;
    second->path = blue;
    startPreview();
    endPreviewThreads();
    expectEndedAndEmpty(2);
    ASSERT_GT(framesSeen(), 2);
    EXPECT_EQ(eventsSeen().back(), "end");
    // Raw rgb24 frames of the video's size.
    for (std::size_t length : events.frameLengths) EXPECT_EQ(length, 256u * 256 * 3);
}

}  // namespace
