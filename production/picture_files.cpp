// Adding a batch of picture files: from the open dialog, or a list.
#include <cstdio>

#include "foundation/globals.h"
#include "foundation/linked_list.h"
#include "platform/file_dialog.h"
#include "platform/status_bar.h"
#include "platform/wait_cursor.h"
#include "production/picture_list.h"
#include "production/selection_state.h"
#include "production/timing.h"

void addPicturesFromDialog() {
    std::string folder = lastImageFolder;
    std::vector<std::string> files;
    const std::vector<FileFilter> filters = {
        {"图片文件(*.JPG;*.GIF;*.PNG;*.BMP;*.TBI)", "*.JPG;*.JPEG;*.GIF;*.PNG;*.BMP;*.TBI"},
        {"JPG图片 (*.JPG)", "*.jpg;*.jpeg"},
        {"GIF图片 (*.GIF)", "*.gif"},
        {"PNG图片 (*.PNG)", "*.PNG"},
        {"BMP图片 (*.BMP)", "*.bmp"},
        {"TBI图片 (*.TBI)", "*.tbi"},
    };
    if (!showOpenFilesDialog(hwndMain, "选择图片 - 支持多选", filters, folder, files)) return;
    lastImageFolder = folder;
    addPictureFiles(files);
}

void addPictureFiles(const std::vector<std::string>& paths) {
    setWaitCursor(1);
    if (pictureListSize() >= maxPictures) {
        showMaxPicturesMessage();
    } else {
        const int total = static_cast<int>(paths.size());
        for (int i = 0; i < total; ++i) {
            char text[64];
            std::snprintf(text, sizeof text, "加载图片: %d / %d", i + 1, total);
            setStatusText(1, text);
            addPicture(paths[i]);
            repaintWhileBusy();
            if (pictureListSize() >= maxPictures && i + 1 < total) {
                showMaxPicturesMessage();
                break;
            }
        }
    }
    updatePictureCount();
    updateSelectionState();
    showVideoLength();
    setWaitCursor(0);
}
