#include "platform/load_item_commands.h"

#include <atomic>

#include "platform/wait_cursor.h"

namespace {

std::atomic<const LoadItemCommandsHandler*> currentHandler{nullptr};

} // namespace

void hideLoadItemCommands() {
    const LoadItemCommandsHandler* handler = currentHandler.load();
    if (handler && handler->hideLoadItemCommands) handler->hideLoadItemCommands();
}

void showBrowserExtensionLink() {
    const LoadItemCommandsHandler* handler = currentHandler.load();
    if (handler && handler->showBrowserExtensionLink) handler->showBrowserExtensionLink();
}

void whileImporting() {
    const LoadItemCommandsHandler* handler = currentHandler.load();
    if (handler && handler->whileImporting) handler->whileImporting();
    else repaintWhileBusy();
}

const LoadItemCommandsHandler* setLoadItemCommandsHandler(const LoadItemCommandsHandler* handler) {
    return currentHandler.exchange(handler);
}
