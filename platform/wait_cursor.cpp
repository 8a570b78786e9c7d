#include "platform/wait_cursor.h"

#include <atomic>

namespace {
std::atomic<WaitCursorHandler> currentHandler{nullptr};
std::atomic<int> shownCount{0};
} // namespace

void setWaitCursor(int waiting) {
    WaitCursorHandler handler = currentHandler.load();
    if (handler) handler(waiting);
    else if (waiting) ++shownCount;
}

int waitCursorShownCount() { return shownCount.load(); }

WaitCursorHandler setWaitCursorHandler(WaitCursorHandler handler) {
    return currentHandler.exchange(handler);
}

namespace {
std::atomic<BusyRepaintHandler> repaintHandler{nullptr};
} // namespace

void repaintWhileBusy() {
    BusyRepaintHandler handler = repaintHandler.load();
    if (handler) handler();
}

BusyRepaintHandler setBusyRepaintHandler(BusyRepaintHandler handler) {
    return repaintHandler.exchange(handler);
}
