#include "platform/progress_window.h"

namespace {
std::atomic<const ProgressWindowHandler*> currentHandler{nullptr};
} // namespace

void startProgressDialog(const std::string& videoPath, int pictureCount,
                         std::atomic<int>* stopFlag) {
    const ProgressWindowHandler* handler = currentHandler.load();
    if (handler && handler->start) handler->start(videoPath, pictureCount, stopFlag);
}

void updateProgress(int index) {
    const ProgressWindowHandler* handler = currentHandler.load();
    if (handler && handler->update) handler->update(index);
}

void sendProgressMessage(unsigned message) {
    const ProgressWindowHandler* handler = currentHandler.load();
    if (handler && handler->message) handler->message(message);
}

const ProgressWindowHandler* setProgressWindowHandler(const ProgressWindowHandler* handler) {
    return currentHandler.exchange(handler);
}
