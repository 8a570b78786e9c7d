#include "platform/file_dialog.h"

#include <atomic>

namespace {
std::atomic<SaveFileDialogHandler> currentHandler{nullptr};
} // namespace

int showSaveFileDialog(void* owner, const std::string& title,
                       const std::vector<FileFilter>& filters,
                       const std::string& defaultExtension, std::string& folder,
                       std::string& file) {
    SaveFileDialogHandler handler = currentHandler.load();
    return handler ? handler(owner, title, filters, defaultExtension, folder, file) : 0;
}

SaveFileDialogHandler setSaveFileDialogHandler(SaveFileDialogHandler handler) {
    return currentHandler.exchange(handler);
}
