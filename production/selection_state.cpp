#include "production/selection_state.h"

#include <atomic>

namespace {
std::atomic<SelectionStateHandler> currentHandler{nullptr};
} // namespace

void updateSelectionState() {
    SelectionStateHandler handler = currentHandler.load();
    if (handler) handler();
}

SelectionStateHandler setSelectionStateHandler(SelectionStateHandler handler) {
    return currentHandler.exchange(handler);
}
