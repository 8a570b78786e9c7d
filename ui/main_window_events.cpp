#include "ui/main_window.h"

#include <QApplication>
#include <QEvent>

#include "foundation/globals.h"
#include "foundation/preferences.h"
#include "net/import/download_folder.h"
#include "platform/command_ids.h"
#include "platform/window_controls.h"

namespace {

// Closing saves the remembered folders and, when an output size is chosen,
// that size; then this run's downloaded pictures go, and the program ends.
void closeMainWindow(MainWindow* window) {
    window->hide();
    writeDialogFolders();
    if (comboGetCurSel(IDC_VIDEO_SIZE) >= 1) writeDefaultVideoSize(videoWidth, videoHeight);
    removeDownloadFolder();
    QApplication::quit();
}

} // namespace

bool handleMainWindowEvent(MainWindow* window, QEvent* event) {
    switch (event->type()) {
    case QEvent::Close:
        closeMainWindow(window);
        return false;
    default:
        return false;
    }
}
