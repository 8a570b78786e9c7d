// Calls that must run on the user-interface thread, made from a worker.
// The user interface installs a runner at start-up that queues the call to
// its thread and waits for it to finish; until then (and in tests that
// install none) the call runs on the calling thread.
#pragma once

#include <functional>

using UiThreadRunner = void (*)(const std::function<void()>& call);

// Runs call on the user-interface thread and returns when it has run.
// Once the program is ending the runner drops calls: this then returns
// without running call, so a caller never waits for a user interface
// that has gone.
void runOnUiThread(const std::function<void()>& call);

// Installs the runner (null restores the direct call) and returns the
// previous one.
UiThreadRunner setUiThreadRunner(UiThreadRunner runner);
