#include "platform/main_command.h"

#include <atomic>

namespace {
std::atomic<MainCommandHandler> currentHandler{nullptr};
} // namespace

void sendMainCommand(int id, int code) {
    MainCommandHandler handler = currentHandler.load();
    if (handler) handler(id, code);
}

MainCommandHandler setMainCommandHandler(MainCommandHandler handler) {
    return currentHandler.exchange(handler);
}
