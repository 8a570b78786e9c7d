// The built program itself, started as a user would start it, on the
// offscreen platform with folders of its own.
#include <gtest/gtest.h>
#include <chrono>
#include <cstdio>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <vector>
#include <sstream>
#include <string>
#include <thread>

#include <QImage>
#include <QProgressBar>
#include <QTimer>

#include "../net/test_server.h"
#include "app/startup.h"
#include "app/termination_signals.h"
#include "foundation/globals.h"
#include "foundation/preferences.h"
#include "foundation/registry.h"
#include "foundation/temp_folder.h"
#include "platform/child_process.h"
#include "platform/command_ids.h"
#include "platform/file_dialog.h"
#include "platform/main_command.h"
#include "platform/window_controls.h"
#include "production/picture_list.h"
#include "production/preview_queue.h"
#include "production/video_threads.h"
#include "ui/main_window.h"
#include "ui/progress_window.h"

namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

bool waitFor(const std::function<bool()>& condition, int seconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return condition();
}

class ProgramRun : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "QT_QPA_PLATFORM"}) {
            const char* value = std::getenv(name);
            saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
        ::setenv("HOME", home.path().c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    void TearDown() override {
        for (const auto& [name, value] : saved) {
            if (value) ::setenv(name.c_str(), value->c_str(), 1);
            else ::unsetenv(name.c_str());
        }
    }

    // Starts program with its standard error in a file.
    int start(const std::string& program) {
        int error = 0;
        ChildProcessSetup setup;
        errorFd = ::open(errorLog().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        setup.stderrFd = errorFd;
        setup.workingFolder = home.path();
        int pid = startChildProcess({program}, setup, &error);
        ::close(errorFd);
        return pid;
    }
    std::string errorLog() const { return home / "stderr.txt"; }
    std::string preferences() const { return home / "config/Vessoranthe/preferences"; }

    TempFolder home;
    int errorFd = -1;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
};

TEST_F(ProgramRun, StartsWithDefaultPreferencesAndEndsCleanlyWhenItsWindowCloses) {
    // An earlier run crashed: this start reports it to the local log.
    home.folder("data/Tevrako/crashes");
    home.write("data/Tevrako/crashes/crash-4242.record", "signal=11\nip=0x1234\n");
    int pid = start(TEVRAKO_PROGRAM);
    ASSERT_GT(pid, 0);
    bool started = waitFor([&] {
        std::string text = readAll(preferences());
        return text.find("mp4_video_bitrate\tdword\t0") != std::string::npos;
    }, 120);
    EXPECT_TRUE(started) << readAll(errorLog());
    EXPECT_TRUE(childProcessRunning(pid));
    // A termination request closes the main window in the event loop, which
    // writes the dialog folders back before the program ends.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ::kill(pid, SIGTERM);
    EXPECT_EQ(waitChildProcess(pid), 0) << readAll(errorLog());
    std::string text = readAll(preferences());
    for (const char* name : {"video_bg_fill_color\tdword\t0", "mp4_default_file_name\tdword\t0",
                             "file_dlg_choose_image\tsz\t", "file_dlg_choose_save_video\tsz\t"})
        EXPECT_NE(text.find(name), std::string::npos) << name << "\n" << text;
    EXPECT_FALSE(std::filesystem::exists(home / "data/Tevrako/crashes/crash-4242.record"));
    std::string log = readAll(home / "data/Tevrako/error_report.log");
    EXPECT_NE(log.find("AppCrash"), std::string::npos) << log;
}

TEST_F(ProgramRun, ACrashWhileTheUserInterfaceStartsLeavesItsRecord) {
    ::setenv("QT_QPA_PLATFORM", "no-such-platform", 1);  // Qt gives up with an abort
    int pid = start(TEVRAKO_PROGRAM);
    ASSERT_GT(pid, 0);
    EXPECT_NE(waitChildProcess(pid), 0);
    int records = 0;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(home / "data/Tevrako/crashes", ignored))
        records += entry.path().extension() == ".record";
    EXPECT_EQ(records, 1) << readAll(errorLog());
}

long residentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

// Only a guard for the run below: a program that neither ends nor keeps
// its memory is stopped with a failure status.
void stopIfRunaway() {
    std::thread([start = residentKb()] {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < end) {
            if (residentKb() > start + 256 * 1024) {
                std::fputs("memory grows after the end was asked for\n", stderr);
                std::_Exit(2);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        std::fputs("the program did not end\n", stderr);
        std::_Exit(3);
    }).detach();
}

// The program, started in this process from folder with count pictures
// in its list, red and blue in turn; ends with status 10 when it does not start.
void startWithPictures(const std::string& folder, int count) {
    const std::string program = folder + "/program";
    std::filesystem::create_directories(program + "/tool");
    std::filesystem::create_symlink("/usr/bin/ffmpeg", program + "/tool/ffmpeg");
    endOnTerminationSignals();
    StartupOptions options;
    options.programFolder = program;
    options.imageMagickCheck = [] { return 1; };
    if (!startProgram(options).ready) std::_Exit(10);
    for (int i = 0; i < count; ++i) {
        const Qt::GlobalColor color = i % 2 ? Qt::blue : Qt::red;
        const std::string path = folder + "/" + std::to_string(color) + ".png";
        QImage picture(320, 240, QImage::Format_RGB32);
        picture.fill(color);
        picture.save(QString::fromStdString(path));
        addPicture(path);
    }
}

// The program, started in this process with two pictures; once the
// preview has frames, the program is asked to end (a termination signal,
// or a close of the main window). Exits with the program's status.
[[noreturn]] void previewThenEnd(const std::string& folder, bool bySignal) {
    startWithPictures(folder, 2);
    QTimer::singleShot(0, [] { sendMainCommand(IDM_PREVIEW_VIDEO, BN_CLICKED); });
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, bySignal] {
        if (previewRunState != 1 || previewQueueEntries() == 0) return;
        poll->stop();
        stopIfRunaway();
        if (bySignal) ::kill(::getpid(), SIGTERM);
        else mainWindow()->close();
    });
    poll->start(10);
    const int status = runUntilClosed();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::exit(status);
}

TEST_F(ProgramRun, ATerminationSignalOrACloseDuringAPreviewEndsItWithStatusZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (bool bySignal : {true, false}) {
        SCOPED_TRACE(bySignal ? "signal" : "close");
        EXPECT_EXIT(previewThenEnd(home.folder(bySignal ? "signal" : "close"), bySignal),
                    testing::ExitedWithCode(0), "");
    }
}

// The program, started in this process with a service host that answers
// a byte every two seconds. A generation thread is reporting its failure
// there when the main window closes. Exits with 0 when the program ended
// within five seconds of the close.
[[noreturn]] void closeDuringAReport(const std::string& folder) {
    const std::string program = folder + "/program";
    std::filesystem::create_directories(program + "/tool");
    std::filesystem::create_symlink("/usr/bin/ffmpeg", program + "/tool/ffmpeg");
    // Left to the process's end, which comes by _Exit.
    auto* host = new TestServer(
        [](ServerExchange& x) { x.trickle("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok", 2000); });
    const std::string address = host->url("");
    write_registry_string(HKEY_CURRENT_USER, kPreferenceKey, "service_host", address.c_str(),
                          static_cast<unsigned>(address.size() + 1));
    StartupOptions options;
    options.programFolder = program;
    options.imageMagickCheck = [] { return 1; };
    if (!startProgram(options).ready) std::_Exit(10);
    startVideoThread([] { failGeneration("thread_make_video", "编码器退出"); });
    static std::chrono::steady_clock::time_point closed;
    QTimer::singleShot(500, [] {
        stopIfRunaway();
        closed = std::chrono::steady_clock::now();
        mainWindow()->close();
    });
    runUntilClosed();
    const bool prompt = std::chrono::steady_clock::now() - closed < std::chrono::seconds(5);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::_Exit(prompt ? 0 : 1);
}

TEST_F(ProgramRun, AReportUnderWayDoesNotHoldUpTheEnd) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(closeDuringAReport(home.folder("report")), testing::ExitedWithCode(0), "");
}

// The program, started in this process with eight pictures, makes their
// video into folder/videos/主图.mp4, where an older file lies; once the
// encoder has the first picture, a termination signal ends the program. Exits with
// the program's status, or 20 when anything but the older file, as it was,
// is left in the video folder.
[[noreturn]] void generateThenEnd(const std::string& folder) {
    static const std::string videos = folder + "/videos";
    std::filesystem::create_directories(videos);
    std::ofstream(videos + "/主图.mp4") << "an older video";
    startWithPictures(folder, 8);
    comboSetCurSel(IDC_VIDEO_SIZE, 1);  // 400 x 400
    sendMainCommand(IDC_VIDEO_SIZE, CBN_SELCHANGE);
    setSaveFileDialogHandler([](void*, const std::string&, const std::vector<FileFilter>&, const std::string&,
                                std::string& chosenFolder, std::string& file) {
        chosenFolder = videos;
        file = videos + "/主图.mp4";
        return 1;
    });
    QTimer::singleShot(0, [] { sendMainCommand(IDM_MAKE_VIDEO, BN_CLICKED); });
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll] {
        if (!progressWindow() || !progressWindow()->running() || progressWindow()->bar()->value() < 1) return;
        poll->stop();
        stopIfRunaway();
        ::kill(::getpid(), SIGTERM);
    });
    poll->start(10);
    const int status = runUntilClosed();
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(videos)) names.push_back(entry.path().filename());
    const bool untouched = names == std::vector<std::string>{"主图.mp4"} && readAll(videos + "/主图.mp4") == "an older video";
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::exit(untouched ? status : 20);
}

TEST_F(ProgramRun, ATerminationSignalDuringAGenerationLeavesNoPartOfTheVideo) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(generateThenEnd(home.folder("generate")), testing::ExitedWithCode(0), "");
}

TEST_F(ProgramRun, AMissingEncoderEndsItWithAMessageAndAFailureStatus) {
    std::string copy = home.folder("bare") + "/tevrako";
    std::filesystem::copy_file(TEVRAKO_PROGRAM, copy);
    std::filesystem::permissions(copy, std::filesystem::perms::owner_all);
    int pid = start(copy);
    ASSERT_GT(pid, 0);
    int status = waitChildProcess(pid);
    EXPECT_NE(status, 0);
    EXPECT_NE(readAll(errorLog()).find("找不到 ffmpeg.exe 文件"), std::string::npos) << readAll(errorLog());
}

} // namespace
