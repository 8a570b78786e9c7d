#include "platform/file_dialog.h"

#include <atomic>

namespace {
std::atomic<SaveFileDialogHandler> currentHandler{nullptr};
std::atomic<OpenFileDialogHandler> openHandler{nullptr};
std::atomic<OpenFilesDialogHandler> openFilesHandler{nullptr};
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

int showOpenFileDialog(void* owner, const std::string& title,
                       const std::vector<FileFilter>& filters, std::string& folder,
                       std::string& file) {
    OpenFileDialogHandler handler = openHandler.load();
    return handler ? handler(owner, title, filters, folder, file) : 0;
}

OpenFileDialogHandler setOpenFileDialogHandler(OpenFileDialogHandler handler) {
    return openHandler.exchange(handler);
}

int showOpenFilesDialog(void* owner, const std::string& title,
                        const std::vector<FileFilter>& filters, std::string& folder,
                        std::vector<std::string>& files) {
    OpenFilesDialogHandler handler = openFilesHandler.load();
    return handler ? handler(owner, title, filters, folder, files) : 0;
}

OpenFilesDialogHandler setOpenFilesDialogHandler(OpenFilesDialogHandler handler) {
    return openFilesHandler.exchange(handler);
}
