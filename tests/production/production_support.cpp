#include "production_support.h"

#include <cerrno>
#include <fcntl.h>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include <wand/MagickWand.h>

#include "foundation/array_list.h"
#include "foundation/heap_alloc.h"
#include "foundation/globals.h"
#include "foundation/linked_list.h"
#include "net/error_report.h"
#include "platform/child_process.h"
#include "platform/run_capture.h"
#include "platform/command_ids.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/picture_list_view.h"
#include "platform/progress_window.h"
#include "platform/window_controls.h"
#include "production/encoder_pipeline.h"
#include "production/program_folders.h"
#include "production/timing.h"
#include "production/video_thread.h"
#include "render/picture_renderer.h"
#include "render/wand_ptr.h"

namespace production_test {

namespace {

class ProductionEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        MagickWandGenesis();
        locateProgramFolders();
        buildEffectNameMap();
    }
    void TearDown() override { MagickWandTerminus(); }
};

[[maybe_unused]] const auto* registeredEnvironment =
    ::testing::AddGlobalTestEnvironment(new ProductionEnvironment);

std::mutex recordLock;
Recorded record;
int stopIndex = -1;
std::string saveAnswer;

void progressStart(const std::string&, int, std::atomic<int>*) {}
void progressUpdate(int index) {
    std::lock_guard<std::mutex> hold(recordLock);
    record.updates.push_back(index);
    if (index == stopIndex) stopFlag = 1;
}
void progressMessage(unsigned message) {
    std::lock_guard<std::mutex> hold(recordLock);
    record.messages.push_back(message);
}
const ProgressWindowHandler progressRecorder = {progressStart, progressUpdate, progressMessage};

int boxRecorder(void*, const std::string& text, const std::string& caption, unsigned type) {
    std::lock_guard<std::mutex> hold(recordLock);
    record.boxes.push_back({text, caption, type});
    return IDOK;
}

void rowLabel(int row, const std::string& label) {
    std::lock_guard<std::mutex> hold(recordLock);
    if (static_cast<int>(record.rowLabels.size()) <= row) record.rowLabels.resize(row + 1);
    record.rowLabels[row] = label;
}
void selectRow(int row) {
    std::lock_guard<std::mutex> hold(recordLock);
    record.selectedRows.push_back(row);
}
const PictureListViewHandler listRecorder = {rowLabel, selectRow};

int saveDialog(void*, const std::string&, const std::vector<FileFilter>&, const std::string&,
               std::string& folder, std::string& file) {
    if (saveAnswer.empty()) return 0;
    file = saveAnswer;
    folder = saveAnswer.substr(0, saveAnswer.rfind('/'));
    return 1;
}

void freePictureList() {
    if (!pictureList) return;
    for (int i = 0; i < linkedlist_size(pictureList); ++i)
        delete static_cast<PictureRecord*>(linkedlist_get(pictureList, i));
    linkedlist_free(pictureList, 0);
    pictureList = nullptr;
}

void freeMusicList() {
    std::lock_guard<std::mutex> hold(musicPathListLock);
    if (musicPathList) arraylist_free(musicPathList, 1);
    musicPathList = nullptr;
}

} // namespace

Recorded recorded() {
    std::lock_guard<std::mutex> hold(recordLock);
    return record;
}

void ProductionTest::SetUp() {
    {
        std::lock_guard<std::mutex> hold(recordLock);
        record = Recorded();
        stopIndex = -1;
        saveAnswer.clear();
    }
    resetWindowControls();
    setProgressWindowHandler(&progressRecorder);
    setMessageBoxHandler(boxRecorder);
    setPictureListViewHandler(&listRecorder);
    setSaveFileDialogHandler(saveDialog);
    setenv("XDG_STATE_HOME", folder.folder("state").c_str(), 1);
    setenv("XDG_DATA_HOME", folder.folder("data").c_str(), 1);
    workFolder = folder.folder("work");
    ffmpegPath = programFolder + "/tool/ffmpeg";
    pictureList = linkedlist_new();
    videoWidth = videoHeight = 256;
    pauseFrames = 5;
    videoBgFillColor = 0;
    mp4VideoBitrate = 0;
    mp4DefaultFileName = 0;
    serviceBitrateKbps = 0;
    musicSeconds = 0.0f;
    useAnonymousPipe = 0;
    stopFlag = 0;
    frameOutputMode = 0;
    pauseSecondsTable[kMusicSyncEntry] = 0.0;
    setNamedPipeConnectTimeout(20000);
}

void ProductionTest::TearDown() {
    waitForVideoThreads();
    setProgressWindowHandler(nullptr);
    setMessageBoxHandler(nullptr);
    setPictureListViewHandler(nullptr);
    setSaveFileDialogHandler(nullptr);
    freePictureList();
    freeMusicList();
    if (previewLogoWand) DestroyMagickWand(previewLogoWand);
    previewLogoWand = nullptr;
}

PictureRecord* ProductionTest::addPicture(const std::string& path, int effectIndex) {
    auto* picture = new PictureRecord;
    picture->path = path;
    picture->effectIndex = effectIndex;
    picture->effectName = getEffectName(effectIndex);
    picture->fileName = path.substr(path.rfind('/') + 1);
    linkedlist_add(pictureList, picture);
    return picture;
}

void ProductionTest::setUpOutputControls(int sizeEntry, int pauseEntry, int musicEntry) {
    for (int i = 0; i < 15; ++i) comboAddString(IDC_VIDEO_SIZE, i == 14 ? "自定义..." : "size");
    comboSetCurSel(IDC_VIDEO_SIZE, sizeEntry);
    for (int i = 0; i < kPauseEntries; ++i) comboAddString(IDC_PAUSE_TIME, pauseEntryLabels[i]);
    comboSetCurSel(IDC_PAUSE_TIME, pauseEntry);
    freeMusicList();
    std::lock_guard<std::mutex> hold(musicPathListLock);
    musicPathList = arraylist_new_default();
    arraylist_add(musicPathList, heapCopy(""));
    comboAddString(IDC_MUSIC, "");
    arraylist_add(musicPathList, heapCopy(""));
    comboAddString(IDC_MUSIC, "选择本地背景音乐...");
    comboSetCurSel(IDC_MUSIC, musicEntry);
}

void ProductionTest::answerSaveDialog(const std::string& path) {
    std::lock_guard<std::mutex> hold(recordLock);
    saveAnswer = path;
}

void ProductionTest::stopAtPicture(int index) {
    std::lock_guard<std::mutex> hold(recordLock);
    stopIndex = index;
}

void ProductionTest::generateAndWait() {
    generateVideo();
    waitForVideoThreads();
}

std::string ProductionTest::errorLog() const {
    std::ifstream in(errorReportLogPath());
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

void writeSolidPicture(const std::string& path, int width, int height, const char* color) {
    WandPtr wand(NewMagickWand());
    PixelWandPtr fill = newPixelWand(color);
    MagickNewImage(wand.get(), width, height, fill.get());
    ASSERT_EQ(MagickWriteImage(wand.get(), path.c_str()), MagickTrue) << path;
}

void writeMusic(const std::string& path, double seconds) {
    int exitCode = -1;
    runCapture({"/usr/bin/ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i",
                "sine=frequency=440:duration=" + std::to_string(seconds), "-c:a", "libmp3lame",
                "file:" + path},
               &exitCode);
    ASSERT_EQ(exitCode, 0) << path;
}

std::string writeScript(const TempFolder& folder, const std::string& name, const std::string& body) {
    std::string path = folder.write(name, "#!/bin/sh\n" + body + "\n");
    chmod(path.c_str(), 0755);
    return path;
}

std::string runCapture(const std::vector<std::string>& argv, int* exitCode) {
    return ::runCapture(argv, exitCode);
}

std::map<std::string, std::string> probeVideo(const std::string& path) {
    std::string text = runCapture({"/usr/bin/ffprobe", "-v", "error", "-select_streams", "v:0",
                                   "-count_frames", "-show_entries",
                                   "stream=width,height,pix_fmt,r_frame_rate,nb_read_frames:format=duration",
                                   "-of", "default=noprint_wrappers=1", "file:" + path});
    std::map<std::string, std::string> values;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::size_t equals = line.find('=');
        if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return values;
}

double audioStreamSeconds(const std::string& path) {
    std::string text = runCapture({"/usr/bin/ffprobe", "-v", "error", "-select_streams", "a:0",
                                   "-show_entries", "stream=duration", "-of", "csv=p=0",
                                   "file:" + path});
    return text.empty() ? -1.0 : std::atof(text.c_str());
}

std::vector<unsigned char> firstFrameRgb(const std::string& path) {
    std::string raw = runCapture({"/usr/bin/ffmpeg", "-v", "error", "-i", "file:" + path,
                                  "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "rgb24", "pipe:1"});
    return std::vector<unsigned char>(raw.begin(), raw.end());
}

}  // namespace production_test
