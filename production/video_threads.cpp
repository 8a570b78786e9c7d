#include "production/video_threads.h"

#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

#include "foundation/globals.h"
#include "net/error_report.h"
#include "platform/message_box.h"
#include "platform/progress_window.h"
#include "platform/ui_thread.h"
#include "production/encoder_pipeline.h"

namespace {
std::mutex registryLock;
// The threads of the last generation stay here, ended but not joined,
// until the next generation starts. The registry is never destroyed: a
// joinable thread destroyed at exit would end the program with an abort.
std::deque<std::thread>& videoThreads = *new std::deque<std::thread>;
} // namespace

bool startVideoThread(std::function<void()> body) {
    try {
        std::lock_guard<std::mutex> hold(registryLock);
        videoThreads.emplace_back(std::move(body));
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

void waitForVideoThreads() {
    for (;;) {
        std::thread next;
        {
            std::lock_guard<std::mutex> hold(registryLock);
            if (videoThreads.empty()) return;
            next = std::move(videoThreads.front());
            videoThreads.pop_front();
        }
        if (next.joinable() && next.get_id() != std::this_thread::get_id()) next.join();
        else if (next.joinable()) next.detach();
    }
}

void endGeneration(unsigned message) {
    runOnUiThread([message] { sendProgressMessage(message); });
}

void showGenerationError(const std::string& text, const char* caption) {
    runOnUiThread([&] { messageBox(hwndProgressDialog, text, caption, MB_ICONERROR); });
}

void refuseGeneration(const std::string& text) {
    showGenerationError(text, "错误");
    stopFlag = 1;
    endGeneration(WM_ENCODE_FAILED);
}

void failGeneration(const char* where, const std::string& text) {
    sendErrorReport(where, text.c_str());
    refuseGeneration(text);
}

void failThreadStart() {
    runOnUiThread([] { messageBox(hwndMain, "启动线程失败", "提示", MB_ICONERROR); });
    stopFlag = 1;
    endGeneration(WM_ENCODE_FAILED);
}
