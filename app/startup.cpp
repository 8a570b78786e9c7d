#include "app/startup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <thread>
#include <unistd.h>
#include <wand/MagickWand.h>

#include "app/termination_signals.h"
#include "foundation/file_path.h"
#include "foundation/globals.h"
#include "foundation/md5.h"
#include "foundation/preferences.h"
#include "foundation/shell.h"
#include "foundation/system_info.h"
#include "foundation/text.h"
#include "net/crash_report.h"
#include "production/background_music.h"
#include "production/download_folder.h"
#include "production/encoder_pipeline.h"
#include "net/import/item_picture_loaders.h"
#include "net/service_config.h"
#include "net/service_preferences.h"
#include "net/socket_pool.h"
#include "net/socket_watch.h"
#include "net/ssl_socket.h"
#include "platform/atomic_file.h"
#include "platform/command_ids.h"
#include "platform/crash_handler.h"
#include "platform/data_folder.h"
#include "platform/main_command.h"
#include "platform/message_box.h"
#include "platform/preference_store.h"
#include "platform/ui_thread.h"
#include "platform/window_controls.h"
#include "production/music_catalogue.h"
#include "production/pending_video.h"
#include "production/picture_list.h"
#include "production/program_folders.h"
#include "production/video_size_presets.h"
#include "render/magick_memory.h"
#include "render/magick_mirror/mirror_check.h"
#include "render/magick_self_test.h"
#include "render/picture_renderer.h"
#include "ui/app_icon.h"
#include "ui/command_router.h"
#include "ui/control_registry.h"
#include "ui/info_window.h"
#include "ui/keyboard_rules.h"
#include "ui/kit/combo_box.h"
#include "ui/kit/file_dialogs.h"
#include "ui/kit/window_geometry.h"
#include "ui/load_item_commands.h"
#include "ui/load_item_dialog.h"
#include "ui/main_window.h"
#include "ui/prompt.h"
#include "ui/status_bar.h"
#include "ui/ui_thread_runner.h"
#include "ui/wait_cursor.h"

namespace {

constexpr int kDefaultPauseIndex = 14;  // "1.6秒"
constexpr char kEncoderMissing[] =
    "找不到 ffmpeg.exe 文件，可能是没有对下载的主图视频软件进行正确的解压缩。\n\n"
    "点击[确定]按钮，查看正确的解压缩方式。";


// The Qt sides of the seams lower layers talk through. A box nobody can
// see (the offscreen platform) goes to standard error and takes its first
// button, as before the prompt layer.
void installUserInterfaceSeams() {
    installUiThreadRunner();
    installCommandRouter();
    installWindowControls();
    if (QGuiApplication::platformName() != "offscreen") installPromptLayer();
    installFileDialogs();
    installInfoWindow();
    installLoadItemDialog();
    installLoadItemCommands();
    installWaitCursor();
}

int screenHeight() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 768;
}

// Step 6: the encoder must lie beside the program. (The check for a
// program run from inside an archive has no meaning here, and the JPEG
// coder is proved by the self-test.)
bool encoderInstalled() {
    if (fileExists(ffmpegPath.c_str()) && access(ffmpegPath.c_str(), X_OK) == 0) return true;
    messageBox(nullptr, kEncoderMissing, "提示", MB_ICONERROR);
    if (!supportSite.empty()) openUrlInBrowser((supportSite + "/unzip.html").c_str());
    return false;
}

void startNetwork() {
    socket_pool_init();
    ssl_library_init();
    ssl_socket_pool_init();
}

// Step 10. The failure ends the program with a nonzero status.
bool imageMagickWorks(const StartupOptions& options) {
    if (chdir(programFolder.c_str()) != 0) std::perror(programFolder.c_str());
    static bool started = false;
    if (!started) MagickWandGenesis();
    started = true;
    int passed = options.imageMagickCheck ? options.imageMagickCheck() : setupImageMagickEnvironment();
    if (passed) return true;
    messageBox(nullptr, kImageMagickFailureText, "提示", MB_ICONWARNING);
    return false;
}

// The render's own resizes, composites, distortions and shape masks must
// give this ImageMagick's pixels: where they do not (the library was updated
// under the program), it is left to do that work itself, before any render.
void checkPixelWork(const StartupOptions& options) {
    if (options.pixelWorkCheck) options.pixelWorkCheck();
    else checkOwnPixelWork();
}

// Step 12: the digest of the program file, sent with the start-up query.
void computeProgramDigest() {
    if (programDigest[0]) return;
    std::ifstream program("/proc/self/exe", std::ios::binary);
    if (!program) return;
    std::string bytes((std::istreambuf_iterator<char>(program)), std::istreambuf_iterator<char>());
    if (program.bad()) return;
    md5_hex(bytes.data(), bytes.size(), programDigest);
}

void buildTables() {
    initPictureList();
    buildEffectNameMap();
}

MainWindow* showMainWindow() {
    QApplication::setWindowIcon(appIcon());
    auto* window = new MainWindow;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QString::asprintf("Tevrako(V%0.1f)", programVersion));
    window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    window->setAcceptDrops(true);
    setClientSize(window, kMainClientWidth, kMainClientHeight, mainStatusBar());
    window->show();
    centerWindow(window);
    return window;
}

// Steps 17 and 18: settings are applied as the user would, through the
// controls' own commands.
void applyDefaultSettings() {
    if (comboGetCount(IDC_PAUSE_TIME) > kDefaultPauseIndex) {
        comboSetCurSel(IDC_PAUSE_TIME, kDefaultPauseIndex);
        sendMainCommand(IDC_PAUSE_TIME, CBN_SELCHANGE);
    }
    if (auto* sizes = controlAs<QComboBox>(IDC_VIDEO_SIZE); sizes && sizes->count() > 0) {
        selectDefaultVideoSize(sizes, defaultVideoWidth, defaultVideoHeight);
        sendMainCommand(IDC_VIDEO_SIZE, CBN_SELCHANGE);
    }
}

// The start-up thread. It reports the crashes of earlier runs (the
// message over the main window is shown on the user-interface thread) and
// asks the service host, so a slow host never freezes the window. The
// service's answer is applied on the user-interface thread in one queued
// call, and the loader it selects is chosen there too, so the
// user-interface thread never sees half of it.
struct StartupThread {
    std::thread thread;
    std::atomic<bool> ended{false};
    std::atomic<bool> stopping{false};
};

// Never destroyed: a thread still inside a request when the program ends
// is left to end with the process.
StartupThread& startupThread() {
    static auto* thread = new StartupThread;
    return *thread;
}

void thread_startup_init() {
    StartupThread& self = startupThread();
    if (!self.stopping) reportPendingCrash();
    if (!self.stopping) queryServiceConfig();
    runOnUiThread(chooseItemPictureLoader);
    self.ended = true;
}

void startStartupThread() {
    endStartupThread();
    StartupThread& thread = startupThread();
    thread.ended = false;
    thread.stopping = false;
    thread.thread = std::thread(thread_startup_init);
}

// Files and videos are written under a temporary name beside them; a run
// killed in the middle leaves that file behind in the program's own
// folders or the remembered video folder, where nothing else would ever
// remove it.
void removeStaleTemporaryFiles() {
    removeStaleAtomicTemporaries(preferenceFolder(kPreferenceKey), {"preferences"});
    for (const std::string& root : {programFolder, privateDataFolder()}) {
        if (root.empty()) continue;
        removeStaleAtomicTemporaries(root, {"play.html"});
        removeStaleAtomicTemporaries(root + "/sz", {"*.sz", "*.dh"});
        removeStaleAtomicTemporaries(root + "/mp3", {".catalogue"});
    }
    removeStaleVideoTemporaries(lastVideoFolder);
}

} // namespace

int effectComboVisibleCountFor(int height) {
    switch (height) {
    case 768: return 30;
    case 800: return 31;
    case 900: return 34;
    case 960: return 36;
    case 1024: return 38;
    case 1080: return 39;
    default: break;
    }
    if (height < 769) return 22;
    return height <= 1080 ? 33 : 40;
}

int selectDefaultVideoSize(QComboBox* combo, int width, int height) {
    for (int index = 1; index < kVideoSizePresets && index < combo->count() - 1; ++index) {
        if (videoSizePresetWidths[index] == width && videoSizePresetHeights[index] == height) {
            comboSetCurSel(combo, index);
            return index;
        }
    }
    int index = comboInsertString(combo, combo->count() - 1, QString::asprintf("%dx%d", width, height));
    comboSetCurSel(combo, index);
    return index;
}

StartupOutcome startProgram(const StartupOptions& options) {
    installUserInterfaceSeams();
    effectComboVisibleCount = effectComboVisibleCountFor(screenHeight());
    locateProgramFolder(options.programFolder);
    char desktop[kMaxPathLength + 1] = "";
    getSpecialFolderPath(CSIDL_DESKTOP, desktop, sizeof desktop);
    readPreferences(desktop);
    loadServicePreferences();
    if (!encoderInstalled()) return {false, 1};
    makeWorkFolder();
    removeStaleDownloadFolders();
    removeStaleTemporaryFiles();
    startNetwork();
    if (!imageMagickWorks(options)) return {false, 1};
    checkPixelWork(options);
    random_init();
    computeProgramDigest();
    buildTables();
    showMainWindow();
    applyDefaultSettings();
    processorCount = getProcessorCount();
    // A crash of an earlier run is reported there and told once, over the window.
    startStartupThread();
    installKeyboardRules();
    return {true, 0};
}

bool startupThreadEnded() {
    StartupThread& thread = startupThread();
    return !thread.thread.joinable() || thread.ended;
}

void endStartupThread() {
    StartupThread& thread = startupThread();
    thread.stopping = true;
    if (!thread.thread.joinable()) return;
    // A request still under way ends soon once the program's end is set;
    // whatever the thread would still show is dropped once the runner is
    // closed.
    if (thread.ended) thread.thread.join();
    else thread.thread.detach();
}

namespace {

// The workers still running at the end are told to stop and joined while
// the application object exists; their calls to it are dropped by now. Their
// requests (an error report, a download) end at once.
void endWorkers() {
    networkEnding = true;
    stopFlag = 1;
    waitForVideoThreads();
    musicPlayer().close();  // SDL's audio thread
    endStartupThread();
    endMusicDownload();
}

} // namespace

int runProgram(int argc, char** argv) {
    // Step 1, before anything else: a crash in the platform plugin or the
    // font set-up leaves its record too.
    installCrashHandler();
    // Before any other thread and before ImageMagick starts: the images
    // and frames of a render run go back to the system when it ends.
    useRunMemoryForImageMagick();
    int exitCode = 0;
    {
        QApplication app(argc, argv);
        // Qt's own dialogs (the file pickers) speak the desktop's language.
        QTranslator qtTexts;
        if (qtTexts.load(QLocale::system(), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            app.installTranslator(&qtTexts);
        endOnTerminationSignals();
        StartupOutcome outcome = startProgram();
        exitCode = outcome.ready ? runUntilClosed() : outcome.exitCode;
    }
    return exitCode;
}

int runUntilClosed() {
    const int exitCode = QApplication::exec();
    // No worker may reach the user interface from here on.
    closeUiThreadRunner();
    endWorkers();
    return exitCode;
}
