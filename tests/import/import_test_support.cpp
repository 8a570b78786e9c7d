#include "import_test_support.h"

#include "foundation/globals.h"
#include "production/download_folder.h"
#include "net/import/item_picture_loaders.h"
#include "net/import/picture_download.h"
#include "platform/info_window.h"
#include "platform/load_item_commands.h"
#include "platform/message_box.h"
#include "platform/wait_cursor.h"
#include "production/picture_list.h"
#include "platform/picture_list_view.h"
#include "platform/status_bar.h"
#include "platform/window_controls.h"
#include "production/selection_state.h"
#include "render/magick_test_pictures.h"
#include "render/picture_renderer.h"

#include <wand/MagickWand.h>

#include <filesystem>
#include <fstream>

namespace {

int recordBox(void*, const std::string& text, const std::string& caption, unsigned type) {
    ImportFixture::boxes().push_back({text, caption, type});
    return IDOK;
}

void recordStatus(int part, const std::string& text) {
    if (part == 1) ImportFixture::statusLog().push_back(text);
}

void recordCursor(int waiting) {
    ImportFixture::waitCursor() = waiting;
}

void countLink() {
    ++ImportFixture::linkShown();
}

void answerDialog(void*, LoadItemRequest* result) {
    ++ImportFixture::dialogRuns();
    *result = ImportFixture::dialogAnswer();
}

const LoadItemCommandsHandler linkRecorder = {nullptr, countLink, nullptr};

// ImageMagick and the effect names, which adding a picture needs.
class ImportEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        MagickWandGenesis();
        buildEffectNameMap();
    }
    void TearDown() override { MagickWandTerminus(); }
};

[[maybe_unused]] const auto* registeredEnvironment = ::testing::AddGlobalTestEnvironment(new ImportEnvironment);

} // namespace

std::string jpegBytes() {
    return std::string(reinterpret_cast<const char*>(kTestJpeg), sizeof kTestJpeg);
}

void ImportFixture::SetUp() {
    socketIoTimeoutMs = 5000;
    pictureDownloadDeadlineMs = 60000;
    savedWorkFolder = workFolder;
    workFolder = folder.path();
    boxes().clear();
    linkShown() = 0;
    dialogAnswer() = {};
    dialogRuns() = 0;
    clearInfoLog();
    resetWindowControls();
    resetMemoryListView();
    freePictureList();
    initPictureList();
    resetPictureCounter();
    maxPictures = 60;
    waitCursor() = 0;
    statusLog().clear();
    setStatusBarHandler(recordStatus);
    setMessageBoxHandler(recordBox);
    setWaitCursorHandler(recordCursor);
    setLoadItemCommandsHandler(&linkRecorder);
    setLoadItemDialogHandler(answerDialog);
}

void ImportFixture::TearDown() {
    setMessageBoxHandler(nullptr);
    setWaitCursorHandler(nullptr);
    setStatusBarHandler(nullptr);
    setLoadItemCommandsHandler(nullptr);
    setLoadItemDialogHandler(nullptr);
    setSelectionStateHandler(nullptr);
    freePictureList();
    removeDownloadFolder();
    itemPictureLoader = loadItemPictures;
    pictureDownloadDeadlineMs = 60000;
    workFolder = savedWorkFolder;
    ServiceGlobalsFixture::TearDown();
}

std::vector<ShownBox>& ImportFixture::boxes() {
    static std::vector<ShownBox> shown;
    return shown;
}

std::vector<std::string>& ImportFixture::statusLog() {
    static std::vector<std::string> texts;
    return texts;
}

int& ImportFixture::waitCursor() {
    static int state = 0;
    return state;
}

int& ImportFixture::linkShown() {
    static int count = 0;
    return count;
}

LoadItemRequest& ImportFixture::dialogAnswer() {
    static LoadItemRequest answer{};
    return answer;
}

int& ImportFixture::dialogRuns() {
    static int count = 0;
    return count;
}

LoadItemRequest ImportFixture::request(const std::string& address, int type) {
    LoadItemRequest r{};
    r.ok = 1;
    r.type = type;
    address.copy(r.address, sizeof r.address - 1);
    return r;
}

std::vector<std::string> ImportFixture::boxTexts() {
    std::vector<std::string> texts;
    for (const ShownBox& box : boxes()) texts.push_back(box.text);
    return texts;
}

int ImportFixture::pictureCount() {
    return pictureListSize();
}

std::vector<std::string> ImportFixture::downloadedFiles() {
    std::vector<std::string> files;
    std::string downloads = ensureDownloadFolder();
    for (const auto& entry : std::filesystem::directory_iterator(downloads)) files.push_back(entry.path().string());
    return files;
}

void ImportFixture::fillPictureList(int count) {
    std::string path = folder.write("filler.jpg", jpegBytes());
    for (int i = 0; i < count; ++i) addPicture(path.c_str());
}
