// The preview frame queue: the render thread appends every frame of a
// preview in order, the player thread takes them one by one and shows
// them. Frames are opaque bytes; an entry without bytes means "nothing
// new" (the frame before is held for one period).
//
// The queue is bounded in bytes: a renderer faster than playback waits in
// the sink while the queue is full and the preview runs (previewRunState
// 1), so large frames cannot fill memory. Leaving the running state
// releases a waiting sink, which then drops its frame. A frame larger than
// the bound is still taken when the queue is empty.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/run_memory.h"

struct PreviewFrame {
    // Empty: nothing new this period. Run memory: the queue holds a few
    // hundred megabytes of frames while a preview renders.
    std::vector<unsigned char, RunAllocator<unsigned char>> data;
};

// The bound the queue starts with.
constexpr std::size_t kPreviewQueueLimitBytes = std::size_t{256} << 20;
// What an entry counts against the bound besides its bytes, so a stream of
// held frames is bounded too.
constexpr std::size_t kPreviewEntryBytes = 64;

// The preview's frame sink: appends a copy of the frame while the preview
// runs (waiting for room first) and drops it otherwise. The handle is
// ignored; always 1, so the sink never cuts rendering short.
int previewFrameSink(void* handle, const void* bytes, std::uint32_t length, std::uint32_t* written,
                     void* overlapped);
// The preview's sink for a frame written again unchanged: appends an entry
// without bytes, on the same terms. Always 1.
int previewHeldFrameSink(void* handle);

// Takes the oldest frame into *frame; false when none waits.
bool takePreviewFrame(PreviewFrame* frame);
// Frees every waiting frame.
void clearPreviewFrameQueue();

// Entries waiting, bytes counted against the bound, and the most counted
// since the last reset (which sets it to the present count).
std::size_t previewQueueEntries();
std::size_t previewQueueBytes();
std::size_t previewQueuePeakBytes();
void resetPreviewQueuePeak();
// Sets the bound (0: kPreviewQueueLimitBytes again).
void setPreviewQueueLimit(std::size_t bytes);
