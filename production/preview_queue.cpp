#include "production/preview_queue.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "foundation/globals.h"

namespace {

// previewRunState is changed without the queue's lock (closing the
// window): a waiting sink looks at it again this often.
constexpr auto kRunStatePoll = std::chrono::milliseconds(10);

struct PreviewFrameQueue {
    std::mutex lock;
    std::condition_variable taken;
    std::deque<PreviewFrame> frames;
    std::size_t bytes = 0;
    std::size_t peak = 0;
    std::size_t limit = kPreviewQueueLimitBytes;
};

PreviewFrameQueue previewFrameQueue;

std::size_t countedBytes(const PreviewFrame& frame) { return frame.data.size() + kPreviewEntryBytes; }

// Appends frame once there is room, while the preview runs.
void append(PreviewFrame frame) {
    const std::size_t cost = countedBytes(frame);
    PreviewFrameQueue& queue = previewFrameQueue;
    std::unique_lock<std::mutex> hold(queue.lock);
    for (;;) {
        if (previewRunState != 1) return;
        if (queue.frames.empty() || queue.bytes + cost <= queue.limit) break;
        queue.taken.wait_for(hold, kRunStatePoll);
    }
    queue.frames.push_back(std::move(frame));
    queue.bytes += cost;
    queue.peak = std::max(queue.peak, queue.bytes);
}

} // namespace

int previewFrameSink(void*, const void* bytes, std::uint32_t length, std::uint32_t* written, void*) {
    // The copy is made before the lock is taken; the player never waits on it.
    PreviewFrame frame;
    const auto* first = static_cast<const unsigned char*>(bytes);
    if (first && length > 0) frame.data.assign(first, first + length);
    append(std::move(frame));
    if (written) *written = length;
    return 1;
}

int previewHeldFrameSink(void*) {
    append(PreviewFrame{});
    return 1;
}

bool takePreviewFrame(PreviewFrame* frame) {
    PreviewFrameQueue& queue = previewFrameQueue;
    std::lock_guard<std::mutex> hold(queue.lock);
    if (queue.frames.empty()) return false;
    *frame = std::move(queue.frames.front());
    queue.frames.pop_front();
    queue.bytes -= countedBytes(*frame);
    queue.taken.notify_all();
    return true;
}

void clearPreviewFrameQueue() {
    std::deque<PreviewFrame> dropped;
    {
        std::lock_guard<std::mutex> hold(previewFrameQueue.lock);
        dropped.swap(previewFrameQueue.frames);
        previewFrameQueue.bytes = 0;
        previewFrameQueue.taken.notify_all();
    }
}

std::size_t previewQueueEntries() {
    std::lock_guard<std::mutex> hold(previewFrameQueue.lock);
    return previewFrameQueue.frames.size();
}

std::size_t previewQueueBytes() {
    std::lock_guard<std::mutex> hold(previewFrameQueue.lock);
    return previewFrameQueue.bytes;
}

std::size_t previewQueuePeakBytes() {
    std::lock_guard<std::mutex> hold(previewFrameQueue.lock);
    return previewFrameQueue.peak;
}

void resetPreviewQueuePeak() {
    std::lock_guard<std::mutex> hold(previewFrameQueue.lock);
    previewFrameQueue.peak = previewFrameQueue.bytes;
}

void setPreviewQueueLimit(std::size_t bytes) {
    std::lock_guard<std::mutex> hold(previewFrameQueue.lock);
    previewFrameQueue.limit = bytes > 0 ? bytes : kPreviewQueueLimitBytes;
    previewFrameQueue.taken.notify_all();
}
