#include "platform/status_bar.h"

#include <atomic>
#include <mutex>

namespace {

std::atomic<StatusBarHandler> currentHandler{nullptr};
std::mutex textsLock;
std::string texts[kStatusParts];

} // namespace

void setStatusText(int part, const std::string& text) {
    if (part < 0 || part >= kStatusParts) return;
    StatusBarHandler handler = currentHandler.load();
    if (handler) {
        handler(part, text);
        return;
    }
    std::lock_guard<std::mutex> lock(textsLock);
    texts[part] = text;
}

std::string statusText(int part) {
    if (part < 0 || part >= kStatusParts) return {};
    std::lock_guard<std::mutex> lock(textsLock);
    return texts[part];
}

StatusBarHandler setStatusBarHandler(StatusBarHandler handler) {
    return currentHandler.exchange(handler);
}
