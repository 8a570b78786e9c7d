// A request to end the program from outside (SIGTERM from the session or
// a service manager, SIGINT from a terminal) closes the main window as the
// user would, so the preferences are saved and the downloads removed.
#pragma once

// Call once, after the QApplication exists; takes effect in the event loop.
void endOnTerminationSignals();
