#include "main_window_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QListWidget>
#include <QTimer>

#include <mutex>
#include <sstream>

#include <wand/MagickWand.h>

#include "foundation/array_list.h"
#include "foundation/globals.h"
#include "platform/run_capture.h"
#include "platform/command_ids.h"
#include "platform/file_dialog.h"
#include "platform/info_window.h"
#include "platform/main_command.h"
#include "platform/picture_list_view.h"
#include "platform/window_controls.h"
#include "production/encoder_pipeline.h"
#include "production/picture_list.h"
#include "production/program_folders.h"
#include "production/selection_state.h"
#include "render/picture_renderer.h"
#include "render/wand_ptr.h"
#include "ui/command_router.h"
#include "ui/control_registry.h"
#include "ui/ui_thread_runner.h"

namespace main_window_test {

namespace {

class MainWindowEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        MagickWandGenesis();
        locateProgramFolders();
        buildEffectNameMap();
    }
};

[[maybe_unused]] const auto* registeredEnvironment =
    ::testing::AddGlobalTestEnvironment(new MainWindowEnvironment);

std::vector<std::string> openFilesAnswer;
std::string openFileAnswer;
std::string saveFileAnswer;

std::string folderOf(const std::string& path) { return path.substr(0, path.rfind('/')); }

int openFiles(void*, const std::string&, const std::vector<FileFilter>&, std::string& folder,
              std::vector<std::string>& files) {
    if (openFilesAnswer.empty()) return 0;
    files = openFilesAnswer;
    folder = folderOf(files[0]);
    return 1;
}

int openFile(void*, const std::string&, const std::vector<FileFilter>&, std::string& folder,
             std::string& file) {
    if (openFileAnswer.empty()) return 0;
    file = openFileAnswer;
    folder = folderOf(file);
    return 1;
}

int saveFile(void*, const std::string&, const std::vector<FileFilter>&, const std::string&,
             std::string& folder, std::string& file) {
    if (saveFileAnswer.empty()) return 0;
    file = saveFileAnswer;
    folder = folderOf(file);
    return 1;
}

void freeMusicList() {
    std::lock_guard<std::mutex> hold(musicPathListLock);
    if (musicPathList) arraylist_free(musicPathList, 1);
    musicPathList = nullptr;
}

} // namespace

void MainWindowTest::SetUp() {
    clearCommandHandlers();
    installCommandRouter();
    installWindowControls();
    installUiThreadRunner();
    clearInfoLog();
    openFilesAnswer.clear();
    openFileAnswer.clear();
    saveFileAnswer.clear();
    setOpenFilesDialogHandler(openFiles);
    setOpenFileDialogHandler(openFile);
    setSaveFileDialogHandler(saveFile);
    freeMusicList();
    initPictureList();
    maxPictures = 60;
    captionPosition = 4;
    videoWidth = videoHeight = 400;
    pauseFrames = 25;
    mp4DefaultFileName = 0;
    workFolder = folder.folder("work");
    window = new MainWindow;
    window->setWindowTitle("Tevrako(V10.5)");
    window->show();
    settle();
}

void MainWindowTest::TearDown() {
    waitForVideoThreads();
    removeAllPictures();
    delete window;
    window = nullptr;
    freePictureList();
    freeMusicList();
    setSelectionStateHandler(nullptr);
    setPictureListViewHandler(nullptr);
    setWindowControlsHandler(nullptr);
    setMainCommandHandler(nullptr);
    setOpenFilesDialogHandler(nullptr);
    setOpenFileDialogHandler(nullptr);
    setSaveFileDialogHandler(nullptr);
    clearCommandHandlers();
}

std::string MainWindowTest::picture(const std::string& name, int width, int height,
                                    const char* color) {
    std::string path = folder / name;
    WandPtr wand(NewMagickWand());
    PixelWandPtr fill = newPixelWand(color);
    MagickNewImage(wand.get(), width, height, fill.get());
    EXPECT_EQ(MagickWriteImage(wand.get(), path.c_str()), MagickTrue) << path;
    return path;
}

void MainWindowTest::answerOpenFiles(const std::vector<std::string>& paths) { openFilesAnswer = paths; }
void MainWindowTest::answerOpenFile(const std::string& path) { openFileAnswer = path; }
void MainWindowTest::answerSaveFile(const std::string& path) { saveFileAnswer = path; }

void MainWindowTest::click(int id) {
    auto* button = controlAs<QAbstractButton>(id);
    ASSERT_NE(button, nullptr) << id;
    ASSERT_TRUE(button->isEnabled()) << id;
    button->click();
    settle();
}

void MainWindowTest::pick(int id, int index) {
    auto* combo = controlAs<QComboBox>(id);
    ASSERT_NE(combo, nullptr) << id;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    settle();
}

void MainWindowTest::selectRows(const std::vector<int>& rows) {
    auto* list = controlAs<QListWidget>(IDC_PICTURE_LIST);
    list->setFocus();
    list->clearSelection();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        QModelIndex index = list->model()->index(rows[i], 0);
        list->selectionModel()->setCurrentIndex(
            index, i == 0 ? QItemSelectionModel::Select : QItemSelectionModel::NoUpdate);
        list->selectionModel()->select(index, QItemSelectionModel::Select);
    }
    if (!rows.empty())
        list->selectionModel()->setCurrentIndex(list->model()->index(rows[0], 0),
                                                 QItemSelectionModel::NoUpdate);
    settle();
}

void MainWindowTest::settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

std::vector<std::string> MainWindowTest::rowLabels() const {
    std::vector<std::string> labels;
    auto* list = controlAs<QListWidget>(IDC_PICTURE_LIST);
    for (int i = 0; i < list->count(); ++i) labels.push_back(list->item(i)->text().toStdString());
    return labels;
}

void whenModal(const char* className, std::function<void(QWidget*)> step) {
    auto* timer = new QTimer(QCoreApplication::instance());
    const std::string wanted = className;
    QObject::connect(timer, &QTimer::timeout, [timer, wanted, step = std::move(step)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || wanted != modal->metaObject()->className() || !modal->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        step(modal);
    });
    timer->start(5);
}

VideoFacts probeVideo(const std::string& path) {
    VideoFacts facts;
    std::string text = runCapture({"/usr/bin/ffprobe", "-v", "error", "-select_streams", "v:0",
                                   "-count_frames", "-show_entries",
                                   "stream=width,height,nb_read_frames", "-of",
                                   "default=noprint_wrappers=1", "file:" + path});
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        std::string key = line.substr(0, equals);
        int value = std::atoi(line.c_str() + equals + 1);
        if (key == "width") facts.width = value;
        else if (key == "height") facts.height = value;
        else if (key == "nb_read_frames") facts.frames = value;
    }
    return facts;
}

}  // namespace main_window_test
