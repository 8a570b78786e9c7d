#include "foundation/preferences.h"
#include "foundation/charset.h"
#include "foundation/file_path.h"
#include "foundation/globals.h"
#include "foundation/registry.h"
#include "foundation/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class Preferences : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
        programFolder = home.folder("program");
        desktop = home.folder("desktop");
        captionMargins = defaultCaptionMargins;
        videoBgFillColor = mp4DefaultFileName = mp4VideoBitrate = 0;
    }
    void TearDown() override { programFolder.clear(); }

    void writeDword(const char* name, int value) {
        write_registry_dword(HKEY_CURRENT_USER, kPreferenceKey, name, static_cast<std::uint32_t>(value));
    }
    void writeText(const char* name, const std::string& text) {
        write_registry_string(HKEY_CURRENT_USER, kPreferenceKey, name, text.c_str(),
                              static_cast<unsigned>(text.size() + 1));
    }
    std::string storeText() const {
        std::ifstream in(home / "config/Vessoranthe/preferences");
        std::stringstream content;
        content << in.rdbuf();
        return content.str();
    }

    TempFolder home;
    std::string desktop;
};

TEST_F(Preferences, AnEmptyStoreGetsTheThreeChoicesAsZeroAndNothingElse) {
    readPreferences(desktop);
    EXPECT_EQ(lastImageFolder, desktop);
    EXPECT_EQ(lastMusicFolder, desktop);
    EXPECT_EQ(lastLogoFolder, desktop);
    EXPECT_EQ(lastVideoFolder, programFolder + "/我的主图视频");
    EXPECT_TRUE(std::filesystem::is_directory(lastVideoFolder));
    EXPECT_STREQ(userId, "");
    EXPECT_EQ(defaultVideoWidth, 800);
    EXPECT_EQ(defaultVideoHeight, 800);
    std::string store = storeText();
    for (const char* name : {"video_bg_fill_color", "mp4_default_file_name", "mp4_video_bitrate"})
        EXPECT_NE(store.find(std::string(name) + "\tdword\t0"), std::string::npos) << name;
    int lines = 0;
    for (char c : store) lines += c == '\n';
    EXPECT_EQ(lines, 4);  // the header and the three choices
}

TEST_F(Preferences, StoredValuesAreReadAndVanishedFoldersFallBack) {
    std::string pictures = home.folder("pictures");
    // A folder of 110 Chinese characters, within the dialogs' 259 GBK bytes.
    std::string part;
    for (int i = 0; i < 55; ++i) part += "图";
    std::string logos = home.folder(part + "/" + part);
    ASSERT_LE(gbk_length(logos.c_str()), kMaxPathLength);
    writeText("file_dlg_choose_logo", logos);
    writeText("file_dlg_choose_image", pictures);
    writeText("file_dlg_choose_mp3", home / "deleted");
    writeText("file_dlg_choose_save_video", home / "deleted");
    writeText("usid", "u-123");
    writeDword("video_bg_fill_color", 1);
    writeDword("mp4_video_bitrate", 3);
    readPreferences(desktop);
    EXPECT_EQ(lastImageFolder, pictures);
    EXPECT_EQ(lastLogoFolder, logos);
    EXPECT_EQ(lastMusicFolder, desktop);
    EXPECT_EQ(lastVideoFolder, programFolder + "/我的主图视频");
    EXPECT_STREQ(userId, "u-123");
    EXPECT_EQ(videoBgFillColor, 1);
    EXPECT_EQ(mp4VideoBitrate, 3);
    EXPECT_EQ(mp4DefaultFileName, 0);
}

// Without a writable program folder videos are saved under the data
// folder, which is used only when it is the user's alone.
TEST_F(Preferences, TheDataFolderTakesVideosOnlyWhenItIsTheUsersAlone) {
    programFolder = home.write("file") + "/program";  // no folder can be made under a file
    const std::string elsewhere = home.folder("elsewhere");
    home.folder("linked");
    ASSERT_EQ(symlink(elsewhere.c_str(), (home / "linked/Tevrako").c_str()), 0);
    const struct {
        const char* dataHome;
        std::string chosen;
    } cases[] = {
        {"data", home / "data/Tevrako/我的主图视频"},
        {"linked", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dataHome);
        ::setenv("XDG_DATA_HOME", (home / c.dataHome).c_str(), 1);
        const std::string folder = defaultVideoFolder();
        EXPECT_EQ(folder, c.chosen);
        struct stat info {};
        if (!folder.empty() && lstat(folder.c_str(), &info) == 0) {
            EXPECT_TRUE(S_ISDIR(info.st_mode));
            EXPECT_EQ(info.st_mode & 0777, 0700u);
        }
    }
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere));
}

TEST_F(Preferences, MarginsKeepValidFractionsAndFallBackOutsideTheOpenRange) {
    struct {
        int stored;
        float expected;
    } cases[] = {
        {600, 0.060001f}, {5000, 0.06001f}, {0, 0.000001f}, {4999, 0.499901f},
        {-1, 0.06001f},   {10000, 0.06001f},
    };
    for (const auto& c : cases) EXPECT_FLOAT_EQ(marginFromStored(c.stored, 0.06001f), c.expected) << c.stored;
    EXPECT_FLOAT_EQ(marginFromStored(5000, 0.15001f), 0.15001f);

    writeDword("watermark_margin_left", 600);
    writeDword("watermark_margin_top", 5000);
    writeDword("watermark_margin_center_bottom", 1000);
    readPreferences(desktop);
    EXPECT_FLOAT_EQ(captionMargins.left, 0.060001f);
    EXPECT_FLOAT_EQ(captionMargins.top, 0.06001f);
    EXPECT_FLOAT_EQ(captionMargins.centerBottom, 0.100001f);
    EXPECT_FLOAT_EQ(captionMargins.right, 0.06001f);  // missing: unchanged
}

TEST_F(Preferences, DefaultSizeIsCheckedAsAPairAndOddSidesAreRefused) {
    struct {
        int width, height;
        bool hasHeight;
        int expectedWidth, expectedHeight;
    } cases[] = {
        {1080, 1440, true, 1080, 1440}, {4000, 600, true, 800, 800}, {600, 2162, true, 800, 800},
        {256, 256, true, 256, 256},     {3840, 2160, true, 3840, 2160}, {254, 600, true, 800, 800},
        {-600, 600, true, 800, 800},    {1000, 0, false, 1000, 800},   {5000, 0, false, 800, 800},
        {801, 600, true, 800, 800},     {800, 601, true, 800, 800},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        int width = 0, height = 0;
        checkDefaultVideoSize(c.width, c.height, c.hasHeight, &width, &height);
        EXPECT_EQ(width, c.expectedWidth);
        EXPECT_EQ(height, c.expectedHeight);
    }
    writeDword("mp4_default_width", 1280);
    writeDword("mp4_default_height", 720);
    readPreferences(desktop);
    EXPECT_EQ(defaultVideoWidth, 1280);
    EXPECT_EQ(defaultVideoHeight, 720);
}

TEST_F(Preferences, ClosingWritesTheFoldersAndTheSizeBack) {
    lastImageFolder = "/图片";
    lastMusicFolder = "/m";
    lastVideoFolder = "/v";
    lastLogoFolder = "/l";
    writeDialogFolders();
    writeDefaultVideoSize(720, 960);
    char text[260];
    unsigned size = sizeof text;
    ASSERT_EQ(read_registry_string(HKEY_CURRENT_USER, kPreferenceKey, "file_dlg_choose_image", text, &size), 1);
    EXPECT_STREQ(text, "/图片");
    size = sizeof text;
    ASSERT_EQ(read_registry_string(HKEY_CURRENT_USER, kPreferenceKey, "file_dlg_choose_logo", text, &size), 1);
    EXPECT_STREQ(text, "/l");
    int value = 0;
    EXPECT_EQ(read_registry_dword(HKEY_CURRENT_USER, kPreferenceKey, "mp4_default_height", &value), 1);
    EXPECT_EQ(value, 960);
}

} // namespace
