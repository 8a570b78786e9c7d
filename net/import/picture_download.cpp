#include "net/import/picture_download.h"

#include "foundation/file_path.h"
#include "foundation/globals.h"
#include "net/format_text.h"
#include "net/http_download.h"
#include "net/import/import_stop.h"
#include "net/socket_watch.h"
#include "production/download_folder.h"
#include "platform/info_window.h"
#include "platform/load_item_commands.h"
#include "platform/status_bar.h"
#include "platform/wait_cursor.h"
#include "production/picture_list.h"
#include "production/selection_state.h"
#include "production/timing.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <unistd.h>

std::atomic<int> pictureDownloadDeadlineMs{60000};

namespace {

// An import tries at most this many addresses per picture the list may
// hold: enough for a reply with some dead addresses, while one listing
// thousands ends in minutes.
constexpr int kAddressesPerPicture = 4;

// Redrawing a name stops after this many draws: with 900 names per second
// and a few hundred pictures at most, it is only reached when the folder
// cannot be listed at all.
constexpr int kMaxNameDraws = 10000;

struct DownloadResultFree {
    void operator()(HttpDownloadResult* result) const { http_download_result_free(result); }
};
using DownloadResultPtr = std::unique_ptr<HttpDownloadResult, DownloadResultFree>;

// A path in folder that no file has yet (the download creates it
// exclusively, so a name taken meanwhile fails instead of overwriting).
std::string newDownloadPath(const std::string& folder) {
    std::string path;
    char name[kDownloadFileNameSize];
    for (int draw = 0; draw < kMaxNameDraws; ++draw) {
        makeDownloadFileName(name);
        path = folder + "/" + name;
        if (!fileExists(path.c_str())) break;
    }
    return path;
}

void reportWriteFailure(const std::string& path) {
    appendInfoText(formatText("文件写入数据失败:\r\n%s\r\n可能是磁盘可用空间不足。", path.c_str()));
}

// Downloads picture i of n into folder and adds it.
void loadOnePicture(const std::string& address, int i, int n, const std::string& folder) {
    std::string path = newDownloadPath(folder);
    setStatusText(1, formatText("下载宝贝图片: %d / %d - 按 Esc 键停止", i, n));
    whileImporting();
    DownloadResultPtr result;
    {
        SocketWatch watch(std::chrono::milliseconds(pictureDownloadDeadlineMs.load()), keepImporting);
        result.reset(http_download_file(address.c_str(), nullptr, nullptr, 1, 0, path.c_str()));
    }
    if (!result->ok) {
        if (itemImportStopRequested()) return;  // the user knows why
        if (result->errorKind == 4) {
            reportWriteFailure(path);
        } else if (result->errorKind == 3) {
            // Says what failed: a full disk is seldom why a file cannot be made.
            appendInfoText(formatText("创建图片文件失败:\r\n%s\r\n返回的错误信息:\r\n%s\r\n", path.c_str(),
                                      result->errorMessage ? result->errorMessage : ""));
        } else {
            appendInfoText(formatText("下载宝贝图片失败:\r\n%s\r\n返回的错误信息:\r\n%s\r\n", address.c_str(),
                                      result->errorMessage ? result->errorMessage : ""));
        }
        return;
    }
    if (result->size == 0) {
        ::unlink(path.c_str());
        return;
    }
    setStatusText(1, formatText("加载宝贝图片: %d / %d", i, n));
    whileImporting();
    // A refused file (addPicture says why) is no picture of the list.
    if (!addPicture(path)) ::unlink(path.c_str());
}

} // namespace

bool keepImporting() {
    whileImporting();
    return !itemImportStopRequested();
}

void downloadItemPictures(const std::vector<std::string>& addresses) {
    ItemImportRun run;
    const long long listed = static_cast<long long>(addresses.size());
    const int n = static_cast<int>(std::min<long long>(listed, 1LL * kAddressesPerPicture * maxPictures));
    setWaitCursor(1);
    int i = 1;
    for (; i <= n && !itemImportStopRequested(); ++i) {
        if (pictureListSize() >= maxPictures) {
            showMaxPicturesMessage();
            break;
        }
        std::string folder = ensureDownloadFolder();
        if (folder.empty()) {
            reportWriteFailure(workFolder);
            break;
        }
        loadOnePicture(addresses[i - 1], i, n, folder);
    }
    if (i > n && listed > n) {
        appendInfoText(formatText("宝贝图片地址太多: 只尝试了前 %d 个地址, 跳过了 %lld 个。", n, listed - n));
    }
    updatePictureCount();
    showVideoLength();
    setWaitCursor(0);
    updateSelectionState();
}
