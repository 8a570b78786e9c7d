#include <QComboBox>
#include <QStatusBar>
#include <gtest/gtest.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/startup.h"
#include "foundation/globals.h"
#include "foundation/hash_map.h"
#include "foundation/preferences.h"
#include "foundation/registry.h"
#include "foundation/temp_folder.h"
#include "platform/info_window.h"
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
        delete mainWindow();
        setInfoWindowHandler(nullptr);
        clearInfoLog();
        if (chdir(startFolder.c_str()) != 0) ADD_FAILURE();
    }
    void installEncoder() {
        std::filesystem::create_directories(program + "/tool");
        std::filesystem::create_symlink("/usr/bin/ffmpeg", program + "/tool/ffmpeg");
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
    StartupOutcome outcome = startProgram({program, failingCheck});
    EXPECT_FALSE(outcome.ready);
    EXPECT_NE(outcome.exitCode, 0);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, kImageMagickFailureText);
    EXPECT_EQ(boxes.boxes[0].type, unsigned(MB_ICONWARNING));
    EXPECT_TRUE(std::filesystem::is_directory(program + "/temp"));
    EXPECT_EQ(mainWindow(), nullptr);
}

TEST_F(Startup, ACompleteInstallationShowsTheMainWindowAndClosingSavesTheFolders) {
    installEncoder();
    MessageRecorder boxes;
    StartupOutcome outcome = startProgram({program, passingCheck});
    ASSERT_TRUE(outcome.ready);
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

} // namespace
