// Makes platform/ui_thread.h's runOnUiThread reach the Qt event loop: a
// call from a worker is queued to the user-interface thread and the worker
// waits until it has run; a call made on the user-interface thread runs at
// once. The user-interface thread must therefore never block waiting for a
// worker that may be inside runOnUiThread.
#pragma once

// Call once, after the QApplication exists, on the user-interface thread.
void installUiThreadRunner();
