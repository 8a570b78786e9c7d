#include "platform/preview_window.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {

std::atomic<const PreviewWindowHandler*> currentHandler{nullptr};

void showPicture(PreviewPicture picture) {
    const PreviewWindowHandler* handler = currentHandler.load();
    if (handler && handler->showPicture) handler->showPicture(picture);
}

} // namespace

int runPreviewWindow(const std::function<bool()>& runEnded) {
    const PreviewWindowHandler* handler = currentHandler.load();
    return handler && handler->run ? handler->run(runEnded) : 0;
}

int isPreviewWindowVisible() {
    const PreviewWindowHandler* handler = currentHandler.load();
    return handler && handler->visible ? handler->visible() : 0;
}

void showPreviewFrame(const unsigned char* bytes, std::size_t length, int width, int height) {
    const PreviewWindowHandler* handler = currentHandler.load();
    if (handler && handler->showFrame) handler->showFrame(bytes, length, width, height);
}

void showPreviewStartPicture() { showPicture(PreviewPicture::Start); }
void showPreviewEndPicture() { showPicture(PreviewPicture::End); }
void showPreviewBlankPicture() { showPicture(PreviewPicture::Blank); }

void waitServingUiThread(const std::function<bool()>& done) {
    const PreviewWindowHandler* handler = currentHandler.load();
    if (handler && handler->waitUntil) {
        handler->waitUntil(done);
        return;
    }
    while (!done()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

const PreviewWindowHandler* setPreviewWindowHandler(const PreviewWindowHandler* handler) {
    return currentHandler.exchange(handler);
}
