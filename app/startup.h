// The program's start-up, from the crash handler to the shown main window,
// in the order later steps rely on: the program folder before the
// preferences that default to it, the installation check before anything
// is created, the work folder before anything is downloaded, the main
// window before the settings sent to it. A failed check shows its box and
// ends the start-up with the exit code to end the program with.
#pragma once

#include <string>

class QComboBox;

struct StartupOptions {
    std::string programFolder;  // empty: the executable's folder
    // The ImageMagick self-test (tests replace it); 1 when it passed.
    int (*imageMagickCheck)() = nullptr;
    // The check of the render's own pixel work against ImageMagick's (tests
    // replace it); true when the render keeps its own work.
    bool (*pixelWorkCheck)() = nullptr;
};

struct StartupOutcome {
    bool ready = false;  // the main window is shown; run the event loop
    int exitCode = 0;    // else: end the program with this code
};

// Runs every start-up step after the crash handler on the user-interface
// thread, after the QApplication exists.
StartupOutcome startProgram(const StartupOptions& options = {});

// The whole program: the crash handler, the start-up, then the event loop
// until the main window closes. main() calls this.
int runProgram(int argc, char** argv);

// The event loop of the started program until its main window closes;
// then no worker reaches the user interface any more, and the workers
// still running are told to stop and joined. Returns the exit status.
int runUntilClosed();

// True once the start-up thread has done its work (or none runs).
bool startupThreadEnded();

// Tells the start-up thread (reports of earlier crashes, the service
// query) to stop, and joins it when it has ended; one still inside a
// request is left to end with the process. Call once the user interface
// has closed.
void endStartupThread();

// Visible items of the effect combo's list for a screen height: 30, 31,
// 34, 36, 38 and 39 for exactly 768, 800, 900, 960, 1024 and 1080; else 22
// up to 768, 33 up to 1080 and 40 above.
int effectComboVisibleCountFor(int screenHeight);

// Selects the remembered size in the size combo: the first preset (from
// index 1, never the empty entry) of exactly that size, else a "%dx%d"
// item inserted before the last item ("自定义..."). Returns the index.
int selectDefaultVideoSize(QComboBox* combo, int width, int height);
