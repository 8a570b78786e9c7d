#include "ui/main_window.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include "foundation/file_path.h"
#include "foundation/globals.h"
#include "foundation/preferences.h"
#include "foundation/text.h"
#include "net/import/import_stop.h"
#include "production/download_folder.h"
#include "platform/command_ids.h"
#include "platform/status_bar.h"
#include "platform/wait_cursor.h"
#include "platform/window_controls.h"
#include "production/picture_list.h"
#include "production/selection_state.h"
#include "production/timing.h"
#include "ui/preview_window.h"

namespace {

// Closing saves the remembered folders and, when an output size is chosen,
// that size; then this run's downloaded pictures go, and the program ends.
// A preview running over the window stops first and its threads end, so
// nothing still reads the pictures or waits for the event loop; a
// generation is told to stop (its threads are joined as the program ends).
void closeMainWindow(MainWindow* window) {
    window->hide();
    if (PreviewWindow* preview = previewWindow()) preview->stop();
    stopFlag = 1;
    writeDialogFolders();
    if (comboGetCurSel(IDC_VIDEO_SIZE) >= 1) writeDefaultVideoSize(videoWidth, videoHeight);
    removeDownloadFolder();
    QApplication::quit();
}

// How often a close that waits for an item import looks again.
constexpr int kImportEndPollMs = 20;

// A close that comes while an item import runs (the import lets the
// windows repaint during its downloads, so a close request or a signal
// reaches us inside it) asks the import to stop at its next picture; the
// window closes as usual once the import has returned, so its download
// folder never goes from under it.
void closeAfterImport(MainWindow* window) {
    stopItemImport();
    static QPointer<QTimer> waiting;
    if (waiting) return;
    waiting = new QTimer(window);
    QObject::connect(waiting, &QTimer::timeout, window, [window] {
        if (itemImportRunning()) return;
        waiting->deleteLater();
        waiting = nullptr;
        window->close();
    });
    waiting->start(kImportEndPollMs);
}

// The local files of a drag, in drop order (a file manager's uri list).
std::vector<std::string> droppedFiles(const QMimeData* data) {
    std::vector<std::string> paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
    return paths;
}

bool acceptDrag(QDropEvent* event) {
    if (droppedFiles(event->mimeData()).empty()) return false;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

void bringToFront(MainWindow* window) {
    window->showNormal();
    window->raise();
    window->activateWindow();
}

} // namespace

// The name's ending counts, dot or not: "photojpg" is taken like "photo.jpg".
bool isDroppablePicture(const std::string& path) {
    static const char* const extensions[] = {"jpg", "jpeg", "png", "gif", "bmp", "tbi"};
    if (!fileExists(path.c_str())) return false;
    for (const char* extension : extensions)
        if (str_ends_with_nocase(path.c_str(), extension)) return true;
    return false;
}

void dropPictureFiles(const std::vector<std::string>& paths) {
    setWaitCursor(1);
    setStatusText(1, "加载图片中...");
    for (const std::string& path : paths) {
        if (pictureListSize() >= maxPictures) {
            showMaxPicturesMessage();
            break;
        }
        if (isDroppablePicture(path)) addPicture(path);
    }
    updatePictureCount();
    updateSelectionState();
    showVideoLength();
    setWaitCursor(0);
}

bool handleMainWindowEvent(MainWindow* window, QEvent* event) {
    switch (event->type()) {
    case QEvent::Close:
        if (itemImportRunning()) {
            event->ignore();
            closeAfterImport(window);
            return true;
        }
        closeMainWindow(window);
        return false;
    case QEvent::DragEnter:
    case QEvent::DragMove:
        return acceptDrag(static_cast<QDropEvent*>(event));
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        std::vector<std::string> paths = droppedFiles(drop->mimeData());
        if (paths.empty()) return false;
        drop->acceptProposedAction();
        bringToFront(window);
        dropPictureFiles(paths);
        return true;
    }
    default:
        return false;
    }
}
