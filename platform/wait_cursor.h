// The wait cursor shown while a long task runs on the user-interface
// thread (adding a batch of pictures). The user interface installs a
// handler at start-up; until then, and in tests, the calls only count.
#pragma once

using WaitCursorHandler = void (*)(int waiting);

// Shows the wait cursor (waiting non-zero) or the arrow again.
void setWaitCursor(int waiting);

// How many times the wait cursor was shown while no handler was installed.
int waitCursorShownCount();

// Installs the handler (null restores counting) and returns the previous one.
WaitCursorHandler setWaitCursorHandler(WaitCursorHandler handler);

// During such a task: lets the windows repaint (no user input is taken),
// so the list and the status bar show the progress. Does nothing without
// a handler.
using BusyRepaintHandler = void (*)();
void repaintWhileBusy();
BusyRepaintHandler setBusyRepaintHandler(BusyRepaintHandler handler);
