#include "platform/info_window.h"

#include <atomic>
#include <mutex>

namespace {

std::atomic<InfoWindowHandler> currentHandler{nullptr};
std::mutex logLock;
std::string log;

} // namespace

void appendInfoText(const std::string& text) {
    InfoWindowHandler handler = currentHandler.load();
    if (handler) {
        handler(text);
        return;
    }
    std::lock_guard<std::mutex> lock(logLock);
    log += text;
    log += "\r\n\r\n";
}

std::string infoLogText() {
    std::lock_guard<std::mutex> lock(logLock);
    return log;
}

void clearInfoLog() {
    std::lock_guard<std::mutex> lock(logLock);
    log.clear();
}

InfoWindowHandler setInfoWindowHandler(InfoWindowHandler handler) {
    return currentHandler.exchange(handler);
}
