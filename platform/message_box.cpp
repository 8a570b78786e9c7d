#include "platform/message_box.h"

#include <atomic>
#include <cstdio>

namespace {

int firstButton(unsigned type) {
    switch (type & MB_BUTTON_MASK) {
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return IDYES;
    default:
        return IDOK;
    }
}

int stderrBox(void*, const std::string& text, const std::string& caption, unsigned type) {
    std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    return firstButton(type);
}

std::atomic<MessageBoxHandler> currentHandler{nullptr};

} // namespace

int messageBox(void* owner, const std::string& text, const std::string& caption,
               unsigned type) {
    MessageBoxHandler handler = currentHandler.load();
    return handler ? handler(owner, text, caption, type) : stderrBox(owner, text, caption, type);
}

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler) {
    return currentHandler.exchange(handler);
}
