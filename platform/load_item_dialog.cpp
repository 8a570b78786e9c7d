#include "platform/load_item_dialog.h"

#include <atomic>

namespace {

std::atomic<LoadItemDialogHandler> currentHandler{nullptr};

} // namespace

void showLoadItemPicturesDialog(void* owner, LoadItemRequest* result) {
    LoadItemDialogHandler handler = currentHandler.load();
    if (handler && result) handler(owner, result);
}

LoadItemDialogHandler setLoadItemDialogHandler(LoadItemDialogHandler handler) {
    return currentHandler.exchange(handler);
}
