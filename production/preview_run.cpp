#include "production/preview_run.h"

#include <atomic>
#include <mutex>
#include <system_error>
#include <thread>

#include "foundation/globals.h"
#include "foundation/linked_list.h"
#include "platform/command_ids.h"
#include "platform/main_command.h"
#include "platform/message_box.h"
#include "platform/preview_window.h"
#include "platform/run_memory.h"
#include "platform/ui_thread.h"
#include "platform/window_controls.h"
#include "production/generate_checks.h"
#include "production/preview_player.h"
#include "production/preview_queue.h"

namespace {

// The preview's frames wait in its queue, so the engine keeps few of its
// own, and at most one large picture is in flight: a 4K preview stays
// within a few hundred megabytes.
constexpr std::size_t kPreviewFrameBudgetBytes = std::size_t{64} << 20;
constexpr std::size_t kPreviewPictureBudgetBytes = std::size_t{384} << 20;

constexpr char kAuditionStopText[] = "停止";

std::atomic<PreviewFrameSource> frameSource{nullptr};

// The render thread of the latest preview, joined before the next starts.
struct RenderThread {
    std::thread thread;
    std::atomic<bool> ended{true};

    ~RenderThread() {
        // The program is ending: stop a preview that still runs.
        previewRunState = 0;
        if (thread.joinable()) thread.join();
    }
};
RenderThread renderThread;

void threadStartFailed() { messageBox(hwndMain, "启动线程失败", "提示", MB_ICONERROR); }

void enablePreviewButton() {
    runOnUiThread([] {
        enableControl(IDM_PREVIEW_VIDEO, pictureList && linkedlist_size(pictureList) > 0);
    });
}

// Renders the preview into the queue while the player thread plays it,
// and returns when both have ended.
void renderAndPlay(const RenderSettings& settings, int workers) {
    previewRenderDone = 0;
    std::thread player;
    try {
        player = std::thread(thread_play_preview, settings.width, settings.height);
    } catch (const std::system_error&) {
        threadStartFailed();
        previewRunState = 0;
    }

    RenderRunHooks hooks;
    hooks.stopBeforePicture = [] { return previewRunState != 1; };
    hooks.abandon = [] { return previewRunState != 1; };
    hooks.readFailed = [](const std::string& text) { messageBox(hwndMain, text, "错误", MB_ICONERROR); };
    const FrameDestination queue{previewFrameSink, previewHeldFrameSink, nullptr};
    if (previewRunState == 1) {
        PreviewFrameSource source = frameSource.load();
        if (source) source(settings, queue, hooks, workers);
        else renderFrameStream(settings, queue, hooks, workers);
    }
    previewRenderDone = 1;

    if (player.joinable()) player.join();
    else previewPlayerDone = 1;
}

} // namespace

PreviewFrameSource setPreviewFrameSource(PreviewFrameSource source) {
    return frameSource.exchange(source);
}

void thread_render_preview(std::shared_ptr<const RenderSettings> settings, int workers) {
    {
        // The frames the queue and the window hold come and go until the
        // player has shown the last of them.
        RunMemoryScope memory;
        renderAndPlay(*settings, workers);
    }
    enablePreviewButton();
    renderThread.ended = true;
}

bool previewThreadsEnded() { return renderThread.ended; }

void endPreviewThreads() {
    waitServingUiThread([] { return previewThreadsEnded(); });
    if (renderThread.thread.joinable()) renderThread.thread.join();
}

int startPreview() {
    frameOutputMode = 2;
    frameSink = previewFrameSink;
    if (!isPreviewWindowVisible()) {
        if (!checkBeforeGenerate()) return 0;
        if (getControlText(IDC_MUSIC_AUDITION) == kAuditionStopText)
            sendMainCommand(IDC_MUSIC_AUDITION, BN_CLICKED);
    }
    // A click on the finished preview can come while its render thread is
    // still ending.
    endPreviewThreads();

    enableControl(IDM_PREVIEW_VIDEO, 0);
    clearPreviewFrameQueue();
    RenderSettings taken = takeRenderSettings();
    taken.frameBudgetBytes = kPreviewFrameBudgetBytes;
    taken.pictureBudgetBytes = kPreviewPictureBudgetBytes;
    auto settings = std::make_shared<const RenderSettings>(std::move(taken));
    const int workers = renderWorkerCount();
    previewRunState = 1;
    renderThread.ended = false;
    try {
        renderThread.thread = std::thread(thread_render_preview, settings, workers);
    } catch (const std::system_error&) {
        renderThread.ended = true;
        previewRunState = 0;
        threadStartFailed();
        enablePreviewButton();
        return 0;
    }
    int result = runPreviewWindow([] { return previewThreadsEnded(); });
    // Unless the window was already running (a click on a finished
    // preview), the run is over and its threads have ended.
    if (previewThreadsEnded()) endPreviewThreads();
    return result;
}

int togglePreview() {
    if (previewRunState == 1) return 0;
    return startPreview();
}
