#include "platform/font_size_combo.h"

#include <atomic>

namespace {
std::atomic<FontSizeComboHandler> currentHandler{nullptr};
} // namespace

std::string fontSizeComboText() {
    FontSizeComboHandler handler = currentHandler.load();
    return handler ? handler() : "36";
}

FontSizeComboHandler setFontSizeComboHandler(FontSizeComboHandler handler) {
    return currentHandler.exchange(handler);
}
