// The preview window as the preview's commands and threads see it: run
// modally for a preview, shown frames and the built-in start, end and blank
// pictures, and a wait on the user-interface thread that keeps serving the
// calls workers queue to it.
//
// The user interface installs a handler at start-up. Until then, and in
// tests that install none, the window never shows: running returns at
// once, shown pictures go nowhere and the wait polls.
#pragma once

#include <cstddef>
#include <functional>

enum class PreviewPicture { Start, End, Blank };

struct PreviewWindowHandler {
    // User-interface thread. Shows the window with the start picture and
    // runs it modally until it is closed and runEnded() is true; the owner
    // stays disabled until then. Called while the window already runs, it
    // shows the start picture and returns at once.
    int (*run)(const std::function<bool()>& runEnded);
    int (*visible)();
    // Any thread. A frame of width x height: raw rgb24 rows, top to bottom,
    // when length is width * height * 3, else an encoded picture.
    void (*showFrame)(const unsigned char* bytes, std::size_t length, int width, int height);
    void (*showPicture)(PreviewPicture picture);
    // User-interface thread: returns once done() is true, running the calls
    // workers queue to this thread meanwhile but no user input.
    void (*waitUntil)(const std::function<bool()>& done);
};

int runPreviewWindow(const std::function<bool()>& runEnded);
int isPreviewWindowVisible();
void showPreviewFrame(const unsigned char* bytes, std::size_t length, int width, int height);
void showPreviewStartPicture();
void showPreviewEndPicture();
void showPreviewBlankPicture();
void waitServingUiThread(const std::function<bool()>& done);

// Installs the handler (null restores the absent window) and returns the previous one.
const PreviewWindowHandler* setPreviewWindowHandler(const PreviewWindowHandler* handler);
