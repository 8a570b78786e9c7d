// The preview's player thread: lets the queue fill for a while, then shows
// one frame per 40 ms; when the queue runs dry before the render thread
// is done it shows the start picture, pauses the music and waits again.
// The music is driven through the main window's preview commands, each
// run on the user-interface thread before the player goes on.
#pragma once

#include <chrono>

// Buffering before the first frame and after the queue ran dry, in waiting
// periods (500 ms).
struct PreviewWaits {
    int start;
    int catchUp;
};

// The waits for a machine with this many processors: fewer processors
// render more slowly, so they buffer longer.
PreviewWaits previewBufferingWaits(int processors);

// Plays the queue until the render thread is done and the queue is empty
// (previewRunState 1 -> 2, end picture) or the run state leaves 1. Frames
// are width x height.
void thread_play_preview(int width, int height);

// The waiting period (500 ms) and the frame period (40 ms); tests shorten
// them. Zero restores the default.
void setPreviewPeriods(std::chrono::milliseconds wait, std::chrono::milliseconds frame);
