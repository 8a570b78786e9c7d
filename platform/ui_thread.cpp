#include "platform/ui_thread.h"

#include <atomic>

namespace {

std::atomic<UiThreadRunner> currentRunner{nullptr};

} // namespace

void runOnUiThread(const std::function<void()>& call) {
    UiThreadRunner runner = currentRunner.load();
    if (runner) {
        runner(call);
    } else {
        call();
    }
}

UiThreadRunner setUiThreadRunner(UiThreadRunner runner) {
    return currentRunner.exchange(runner);
}
