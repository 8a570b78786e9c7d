#include <QComboBox>
#include <QStatusBar>
#include <gtest/gtest.h>
#include <filesystem>
#include <string>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "app/startup.h"

#include <QCoreApplication>
#include <chrono>
#include <future>
#include <thread>

#include "../net/test_server.h"
#include "net/error_report.h"
#include "foundation/globals.h"
#include "foundation/hash_map.h"
#include "foundation/preferences.h"
#include "foundation/registry.h"
#include "foundation/temp_folder.h"
#include "platform/info_window.h"
#include "production/music_catalogue.h"
#include "render/magick_self_test.h"
#include "../ui/message_recorder.h"
#include "../ui/spawn_recorder.h"
#include "ui/info_window.h"
#include "ui/main_window.h"
#include "ui/status_bar.h"

namespace {

TEST(StartupTables, EffectListHeightFollowsTheScreenHeight) {
    struct {
        int height, visible;
    } cases[] = {{600, 22}, {767, 22}, {768, 30}, {769, 33}, {800, 31}, {899, 33}, {900, 34},
                 {960, 36}, {1024, 38}, {1080, 39}, {1081, 40}, {1440, 40}};
    for (const auto& c : cases) EXPECT_EQ(effectComboVisibleCountFor(c.height), c.visible) << c.height;
}

TEST(StartupTables, RememberedSizeSelectsARealPresetOrAddsItsOwnItem) {
    struct {
        int width, height, index;
        const char* text;
    } cases[] = {
        {800, 800, 10, nullptr}, {400, 400, 1, nullptr}, {1080, 1440, 13, nullptr},
        {800, 450, 9, nullptr},  {1000, 600, 14, "1000x600"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        QComboBox combo;
        for (int i = 0; i < 14; ++i) combo.addItem(QString("preset %1").arg(i));
        combo.addItem("自定义...");
        EXPECT_EQ(selectDefaultVideoSize(&combo, c.width, c.height), c.index);
        EXPECT_EQ(combo.currentIndex(), c.index);
        if (c.text) EXPECT_EQ(combo.itemText(c.index).toStdString(), c.text);
        EXPECT_EQ(combo.itemText(combo.count() - 1), "自定义...");
    }
}

int passingCheck() { return 1; }
int failingCheck() { return 0; }
int pixelWorkChecks = 0;
bool countedPixelWorkCheck() {
    ++pixelWorkChecks;
    return true;
}

class Startup : public testing::Test {
protected:
    SpawnRecorder launches;
    void SetUp() override {
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        startFolder = cwd;
        ::setenv("HOME", home.path().c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
        program = home.folder("program");
        std::string site = "https://support.example";
        write_registry_string(HKEY_CURRENT_USER, kPreferenceKey, "support_site", site.c_str(),
                              static_cast<unsigned>(site.size() + 1));
    }
    void TearDown() override {
        EXPECT_TRUE(endStartupThreadInTime());
        endMusicDownload();  // it reads the service host too
        serviceHost.clear();
        delete mainWindow();
        setInfoWindowHandler(nullptr);
        clearInfoLog();
        if (chdir(startFolder.c_str()) != 0) ADD_FAILURE();
    }
    void installEncoder() {
        std::filesystem::create_directories(program + "/tool");
        std::filesystem::create_symlink("/usr/bin/ffmpeg", program + "/tool/ffmpeg");
    }
    // The start-up thread reads the service settings TearDown clears: it is
    // let finish (its last call waits for the user-interface thread) and joined.
    static bool endStartupThreadInTime() {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!startupThreadEnded() && std::chrono::steady_clock::now() < end) {
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        const bool ended = startupThreadEnded();
        endStartupThread();
        return ended;
    }
    std::string preferenceFile() const { return home / "config/Vessoranthe/preferences"; }

    TempFolder home;
    std::string program;
    std::string startFolder;
};

TEST_F(Startup, AMissingEncoderEndsBeforeTheWorkFolderWithItsMessageAndPage) {
    MessageRecorder boxes;
    StartupOutcome outcome = startProgram({program, passingCheck});
    EXPECT_FALSE(outcome.ready);
    EXPECT_NE(outcome.exitCode, 0);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text.rfind("找不到 ffmpeg.exe 文件，可能是没有对下载的主图视频软件进行正确的解压缩。", 0), 0u);
    EXPECT_EQ(boxes.boxes[0].caption, "提示");
    EXPECT_EQ(boxes.boxes[0].type, unsigned(MB_ICONERROR));
    ASSERT_EQ(launches.spawned.size(), 1u);
    EXPECT_EQ(launches.spawned[0].back(), "https://support.example/unzip.html");
    // The preferences came before the check, the work folder after it.
    EXPECT_TRUE(std::filesystem::exists(preferenceFile()));
    EXPECT_FALSE(std::filesystem::exists(program + "/temp"));
    EXPECT_EQ(mainWindow(), nullptr);
}

TEST_F(Startup, AFailedSelfTestEndsWithANonzeroStatusAndItsWarning) {
    installEncoder();
    MessageRecorder boxes;
    pixelWorkChecks = 0;
    StartupOutcome outcome = startProgram({program, failingCheck, countedPixelWorkCheck});
    EXPECT_FALSE(outcome.ready);
    EXPECT_NE(outcome.exitCode, 0);
    EXPECT_EQ(pixelWorkChecks, 0);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, kImageMagickFailureText);
    EXPECT_EQ(boxes.boxes[0].type, unsigned(MB_ICONWARNING));
    EXPECT_TRUE(std::filesystem::is_directory(program + "/temp"));
    EXPECT_EQ(mainWindow(), nullptr);
}

TEST_F(Startup, ACompleteInstallationShowsTheMainWindowAndClosingSavesTheFolders) {
    installEncoder();
    MessageRecorder boxes;
    pixelWorkChecks = 0;
    StartupOutcome outcome = startProgram({program, passingCheck, countedPixelWorkCheck});
    ASSERT_TRUE(outcome.ready);
    EXPECT_EQ(pixelWorkChecks, 1) << "the render's own pixel work is checked before any render";
    EXPECT_TRUE(boxes.boxes.empty());
    MainWindow* window = mainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Tevrako(V10.5)");
    ASSERT_NE(mainStatusBar(), nullptr);
    EXPECT_EQ(window->size(), QSize(919, 508 + mainStatusBar()->height()));
    EXPECT_EQ(workFolder, program + "/temp");
    EXPECT_EQ(effectNameMap->count, 97);
    EXPECT_EQ(std::string(programDigest).size(), 32u);
    ASSERT_NE(infoWindow(), nullptr);
    EXPECT_FALSE(infoWindow()->isVisible());
    appendInfoText("记录");
    EXPECT_TRUE(infoWindow()->isVisible());
    EXPECT_TRUE(launches.spawned.empty());

    window->close();
    char folder[260];
    unsigned size = sizeof folder;
    ASSERT_EQ(read_registry_string(HKEY_CURRENT_USER, kPreferenceKey, "file_dlg_choose_save_video",
                                   folder, &size), 1);
    EXPECT_EQ(std::string(folder), program + "/我的主图视频");
}

TEST_F(Startup, TemporaryFilesOfWritesCutShortAreRemovedOnlyWhenOursAndOld) {
    namespace fs = std::filesystem;
    installEncoder();
    const std::string config = home.folder("config/Vessoranthe");
    const std::string sz = home.folder("program/sz");
    const std::string data = home.folder("data/Tevrako");
    const std::string videos = home.folder("program/我的主图视频");  // the remembered video folder
    const std::string target = home.write("outside", "kept");
    enum Kind { File, Link, OtherUsers };
    const struct {
        std::string path;
        bool old, removed;
        Kind kind = File;
    } cases[] = {
        {config + "/.preferences.tevrako-a1B2c3", true, true},
        {sz + "/.店铺.sz.tevrako-x1y2z3", true, true},
        {program + "/.play.html.tevrako-Zz09Qq", true, true},
        {data + "/.play.html.tevrako-Qq90zZ", true, true},
        {videos + "/.主图 1.mp4.tevrako-Vv12Ab.mp4", true, true},
        {config + "/.preferences.tevrako-d4E5f6", false, false},  // another copy may be writing it now
        // The user's own copies beside the files.
        {config + "/preferences.backup", true, false},
        {config + "/preferences.old123", true, false},
        {sz + "/shop.sz.backup", true, false},
        {sz + "/shop.sz.241231", true, false},
        {videos + "/主图 1.mp4", true, false},
        // Near misses of the pattern.
        {config + "/preferences.tevrako-a1B2c3", true, false},
        {config + "/.preferences.tevrako-a1B2c", true, false},
        {config + "/.preferences.tevrako-a1B-c3", true, false},
        {config + "/.preferences.tevrako_a1B2c3", true, false},
        {sz + "/.notes.txt.tevrako-x1y2z3", true, false},
        {videos + "/.主图 1.mp4.tevrako-Vv12Ab", true, false},
        {config + "/.preferences.tevrako-L1n2k3", true, false, Link},  // neither it nor its target
        {config + "/.preferences.tevrako-0th3r5", true, false, OtherUsers},
        {videos + "/.主图 2.mp4.tevrako-0th3r5.mp4", true, false, OtherUsers},
    };
    // An hour old, a link itself and not what it points to.
    auto makeOld = [](const std::string& path) {
        const timespec hourAgo[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), hourAgo, AT_SYMLINK_NOFOLLOW), 0) << path;
    };
    makeOld(target);
    for (const auto& c : cases) {
        if (c.kind == Link) fs::create_symlink(target, c.path);
        else home.write(c.path.substr(home.path().size() + 1), "half a write");
        // The tests run as root, who can give a file away.
        if (c.kind == OtherUsers) {
            ASSERT_EQ(lchown(c.path.c_str(), 4321, 4321), 0) << c.path;
        }
        if (c.old) makeOld(c.path);
    }

    ASSERT_TRUE(startProgram({program, passingCheck}).ready);
    ASSERT_EQ(lastVideoFolder, videos);
    for (const auto& c : cases) EXPECT_EQ(fs::exists(fs::symlink_status(c.path)), !c.removed) << c.path;
    EXPECT_EQ(readTextFile(target), "kept");
}

// A data folder that is a link is passed over: nothing where it points is
// removed or made.
TEST_F(Startup, ADataFolderThatIsALinkIsLeftAlone) {
    installEncoder();
    const std::string elsewhere = home.folder("elsewhere");
    home.folder("elsewhere/sz");
    home.folder("data");
    ASSERT_EQ(symlink(elsewhere.c_str(), (home / "data/Tevrako").c_str()), 0);
    const std::string stale = home.write("elsewhere/sz/店铺.sz.x1y2z3", "half a write");
    const timespec hourAgo[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, stale.c_str(), hourAgo, 0), 0);

    ASSERT_TRUE(startProgram({program, passingCheck}).ready);
    EXPECT_TRUE(std::filesystem::exists(stale));
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(elsewhere)) names.push_back(entry.path().filename());
    EXPECT_EQ(names, std::vector<std::string>{"sz"});
}

TEST_F(Startup, CrashesOfEarlierRunsAreReportedWhileTheWindowIsAlreadyUp) {
    installEncoder();
    home.folder("data/Tevrako/crashes");
    home.write("data/Tevrako/crashes/crash-7.record", "signal=11\nip=0x10\n");
    // A slow service host: a report is answered only when the test says so.
    std::promise<void> answer;
    std::shared_future<void> answered = answer.get_future().share();
    TestServer host([answered](ServerExchange& exchange) {
        const bool report = exchange.request.target.rfind("/report.asp", 0) == 0;
        if (report) answered.wait();
        exchange.send(report ? "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok"
                             : "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
    });
    const std::string address = host.url("");
    write_registry_string(HKEY_CURRENT_USER, kPreferenceKey, "service_host", address.c_str(),
                          static_cast<unsigned>(address.size() + 1));
    MessageRecorder boxes;

    ASSERT_TRUE(startProgram({program, passingCheck}).ready);
    // The window is up while the report still waits for its answer: it was
    // neither given up nor written to the local log instead.
    EXPECT_EQ(readTextFile(errorReportLogPath()), "");
    answer.set_value();
    ASSERT_TRUE(endStartupThreadInTime());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "错误");
    EXPECT_EQ(boxes.boxes[0].text.rfind("Tevrako 已停止工作。", 0), 0u);
    int reports = 0;
    for (const ServerRequest& request : host.seen())
        reports += request.target.rfind("/report.asp", 0) == 0 && request.target.find("where=AppCrash") != std::string::npos;
    EXPECT_EQ(reports, 1);
    EXPECT_FALSE(std::filesystem::exists(home / "data/Tevrako/crashes/crash-7.record"));
}

} // namespace
