// The progress window that follows a video's generation: it is shown for
// the run, moved forward before each picture, and ended by one of the three
// outcome messages of the encoder runners.
//
// The user interface installs a handler at start-up; every call is made on
// the user-interface thread (workers go through runOnUiThread). Until a
// handler is installed, and in tests that install none, the calls do
// nothing and startProgressDialog returns at once.
#pragma once

#include <atomic>
#include <string>

// Outcome messages; their values are those of the window messages.
enum : unsigned {
    WM_USER = 0x400,
    WM_ENCODE_DONE = WM_USER + 1,     // the encoder wrote the video; the user did not stop
    WM_ENCODE_STOPPED = WM_USER + 2,  // the encoder finished after Stop
    WM_ENCODE_FAILED = WM_USER + 3,   // the encoder failed; its error box has been shown
};

struct ProgressWindowHandler {
    // Shows the window for one run and returns when an outcome message has
    // ended it. Stop sets *stopFlag to 1.
    void (*start)(const std::string& videoPath, int pictureCount, std::atomic<int>* stopFlag);
    void (*update)(int index);        // before picture index (1-based)
    void (*message)(unsigned message);  // one of the outcome messages
};

void startProgressDialog(const std::string& videoPath, int pictureCount,
                         std::atomic<int>* stopFlag);
void updateProgress(int index);
void sendProgressMessage(unsigned message);

// Installs the handler (null restores doing nothing) and returns the previous one.
const ProgressWindowHandler* setProgressWindowHandler(const ProgressWindowHandler* handler);
