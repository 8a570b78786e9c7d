// Makes platform/ui_thread.h's runOnUiThread reach the Qt event loop: a
// call from a worker is queued to the user-interface thread and the worker
// waits until it has run; a call made on the user-interface thread runs at
// once. The user-interface thread must therefore never block waiting for a
// worker that may be inside runOnUiThread.
//
// Once the program's event loop has ended (the application's aboutToQuit,
// or closeUiThreadRunner), calls are dropped: a worker waiting for a call
// that has not begun returns at once, and later calls return without
// running, on any thread. So no call ever runs a widget off the
// user-interface thread or after the user interface is gone, and no worker
// waits for a loop that will not run again.
#pragma once

// Call once, after the QApplication exists, on the user-interface thread.
// Installing again accepts calls again.
void installUiThreadRunner();

// From now on queued calls are dropped (see above). Any thread; more than
// once is harmless.
void closeUiThreadRunner();
