#include "production/preview_player.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "foundation/globals.h"
#include "platform/command_ids.h"
#include "platform/main_command.h"
#include "platform/preview_window.h"
#include "platform/ui_thread.h"
#include "production/preview_queue.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kWaitPeriod{500};
constexpr milliseconds kFramePeriod{40};
// How often a wait looks at the run state, so closing ends it soon.
constexpr milliseconds kRunStatePoll{10};
// A frame due this much ago or less still keeps its place in time.
constexpr milliseconds kLateTolerance{5};

// Narrower than the start picture (150) or the end picture (264): the
// player blanks the window rather than leave them clipped.
constexpr int kStartPictureWidth = 149;
constexpr int kEndPictureWidth = 263;

std::atomic<milliseconds::rep> waitPeriodMs{kWaitPeriod.count()};
std::atomic<milliseconds::rep> framePeriodMs{kFramePeriod.count()};

bool running() { return previewRunState == 1; }
bool musicPlays() { return musicAuditionPlaying == 1; }

// The main window runs the command before the player goes on.
void sendMusicCommand(int id) {
    runOnUiThread([id] { sendMainCommand(id, BN_CLICKED); });
}

// Waits count periods, ending early once the run state leaves 1.
void waitPeriods(int count) {
    const Clock::time_point end = Clock::now() + milliseconds(waitPeriodMs.load()) * count;
    while (running()) {
        Clock::time_point now = Clock::now();
        if (now >= end) return;
        std::this_thread::sleep_for(std::min<Clock::duration>(end - now, kRunStatePoll));
    }
}

} // namespace

PreviewWaits previewBufferingWaits(int processors) {
    switch (processors) {
    case 1: return {10, 18};
    case 2: return {8, 14};
    case 3: return {6, 10};
    case 4: return {4, 6};
    default: return {2, 4};
    }
}

void setPreviewPeriods(milliseconds wait, milliseconds frame) {
    waitPeriodMs = (wait.count() > 0 ? wait : kWaitPeriod).count();
    framePeriodMs = (frame.count() > 0 ? frame : kFramePeriod).count();
}

void thread_play_preview(int width, int height) {
    musicReplayCount = 0;
    musicAuditionPlaying = 0;
    previewPlayerDone = 0;
    const PreviewWaits waits = previewBufferingWaits(processorCount);
    const milliseconds framePeriod(framePeriodMs.load());

    waitPeriods(waits.start);
    sendMusicCommand(IDM_PREVIEW_MUSIC_PLAY);
    if (width <= kStartPictureWidth) showPreviewBlankPicture();

    // Each frame owns one period from its start, whatever showing it took.
    // A wake-up a little late is made up on the next frame, so the video
    // keeps time with the music; a frame much later starts the next period
    // late rather than cut it short.
    Clock::time_point periodStart = Clock::now();
    while (running()) {
        // Read before the queue: once it is 1 every frame is in the queue,
        // so an empty queue then means the end.
        const bool renderDone = previewRenderDone == 1;
        PreviewFrame frame;
        if (takePreviewFrame(&frame)) {
            if (!frame.data.empty()) showPreviewFrame(frame.data.data(), frame.data.size(), width, height);
            frame.data = {};
            const Clock::time_point due = periodStart + framePeriod;
            std::this_thread::sleep_until(due);
            const Clock::time_point now = Clock::now();
            periodStart = now - due > kLateTolerance ? now : due;
            continue;
        }
        if (renderDone) break;
        showPreviewStartPicture();
        if (musicPlays()) sendMusicCommand(IDM_PREVIEW_MUSIC_PAUSE);
        waitPeriods(waits.catchUp);
        if (running() && musicPlays()) sendMusicCommand(IDM_PREVIEW_MUSIC_RESUME);
        if (running() && width <= kEndPictureWidth) showPreviewBlankPicture();
        periodStart = Clock::now();
    }

    clearPreviewFrameQueue();
    if (musicPlays()) sendMusicCommand(IDM_PREVIEW_MUSIC_CLOSE);
    int wasRunning = 1;
    if (previewRunState.compare_exchange_strong(wasRunning, 2)) showPreviewEndPicture();
    previewPlayerDone = 1;
}
