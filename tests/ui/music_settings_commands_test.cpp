// The music, settings-file, preference and help commands driven through
// the main window's widgets.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QMenu>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>
#include <unistd.h>

#include "foundation/globals.h"
#include "foundation/preferences.h"
#include "foundation/registry.h"
#include "main_window_support.h"
#include "spawn_recorder.h"
#include "platform/command_ids.h"
#include "platform/main_command.h"
#include "platform/run_capture.h"
#include "platform/window_controls.h"
#include "production/background_music.h"
#include "production/picture_list.h"
#include "ui/command_router.h"
#include "ui/control_registry.h"
#include "ui/main_window_contents.h"

using main_window_test::MainWindowTest;

namespace {

std::vector<std::string> musicItems() {
    std::vector<std::string> items;
    for (int i = 0; i < comboGetCount(IDC_MUSIC); ++i) items.push_back(comboGetItemText(IDC_MUSIC, i));
    return items;
}

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

class MusicSettingsCommands : public MainWindowTest {
protected:
    SpawnRecorder launches;
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        savedProgramFolder = programFolder;
        programFolder = folder.folder("program");
        setenv("XDG_CONFIG_HOME", folder.folder("config").c_str(), 1);
        MainWindowTest::SetUp();
        auditionIndex = -1;
        auditionRestartPending = 0;
        lastMusicIndex = 0;
    }
    void TearDown() override {
        musicPlayer().close();
        settle();
        supportSite.clear();
        previewRunState = 0;
        MainWindowTest::TearDown();
        programFolder = savedProgramFolder;
        unsetenv("XDG_CONFIG_HOME");
    }

    std::string song(const std::string& name, double seconds) {
        std::string path = folder / name;
        int exitCode = -1;
        runCapture({"/usr/bin/ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i",
                    "sine=frequency=440:duration=" + std::to_string(seconds), "-c:a", "libmp3lame",
                    "file:" + path},
                   &exitCode);
        EXPECT_EQ(exitCode, 0);
        return path;
    }
    // Lets the music player's notices arrive until done() holds.
    bool waitUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 500 && !done(); ++i) {
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return done();
    }
    std::string auditionText() { return getControlText(IDC_MUSIC_AUDITION); }
    std::vector<std::string> boxTexts() {
        std::vector<std::string> texts;
        for (const auto& box : boxes.boxes) texts.push_back(box.text);
        return texts;
    }

    std::string savedProgramFolder;
};

// A program folder the user cannot write keeps its music in the data
// folder; the combo offers the music of both.
class MusicListAtStart : public MainWindowTest {
protected:
    void SetUp() override {
        savedProgramFolder = programFolder;
        if (const char* data = std::getenv("XDG_DATA_HOME")) savedDataHome = data;
        programFolder = folder / "not-there";
        setenv("XDG_DATA_HOME", folder.folder("data").c_str(), 1);
        std::filesystem::create_directories(folder / "data/Tevrako/mp3");
        folder.write("data/Tevrako/mp3/b.mp3");
        folder.write("data/Tevrako/mp3/a.mp3");
        folder.write("data/Tevrako/mp3/notes.txt");
        MainWindowTest::SetUp();
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        programFolder = savedProgramFolder;
        if (savedDataHome.empty()) unsetenv("XDG_DATA_HOME");
        else setenv("XDG_DATA_HOME", savedDataHome.c_str(), 1);
    }
    std::string savedProgramFolder, savedDataHome;
};

TEST_F(MusicListAtStart, OffersTheMusicOfTheDataFolder) {
    EXPECT_EQ(musicItems(), (std::vector<std::string>{"", "a.mp3", "b.mp3", "选择本地背景音乐..."}));
    EXPECT_EQ(musicPathAt(1), folder / "data/Tevrako/mp3/a.mp3");
    EXPECT_EQ(comboGetCurSel(IDC_MUSIC), 0);
}

TEST_F(MusicSettingsCommands, NextAndAuditionFollowTheSongs) {
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) addMusicPath(song(name, 5));
    ASSERT_EQ(musicItems(), (std::vector<std::string>{"", "a.mp3", "b.mp3", "c.mp3", "选择本地背景音乐..."}));

    pick(IDC_MUSIC, 3);
    EXPECT_FALSE(isControlEnabled(IDC_MUSIC_NEXT));
    sendMainCommand(IDC_MUSIC_NEXT, BN_CLICKED);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"没有下一首了"});

    pick(IDC_MUSIC, 1);
    EXPECT_TRUE(isControlEnabled(IDC_MUSIC_NEXT));
    EXPECT_GT(musicSeconds, 4.9f);
    click(IDC_MUSIC_AUDITION);
    EXPECT_EQ(auditionText(), "停止");
    EXPECT_EQ(comboGetItemText(IDC_MUSIC, 1), "a.mp3 - 试听中");
    EXPECT_EQ(comboGetCurSel(IDC_MUSIC), 1);

    // The next song plays without a second click.
    click(IDC_MUSIC_NEXT);
    ASSERT_TRUE(waitUntil([] { return comboGetItemText(IDC_MUSIC, 2) == "b.mp3 - 试听中"; }));
    EXPECT_EQ(comboGetItemText(IDC_MUSIC, 1), "a.mp3");
    EXPECT_EQ(auditionText(), "停止");
    EXPECT_EQ(auditionIndex, 2);

    click(IDC_MUSIC_AUDITION);
    ASSERT_TRUE(waitUntil([this] { return auditionText() == "试听"; }));
    EXPECT_EQ(comboGetItemText(IDC_MUSIC, 2), "b.mp3");

    // Choosing no music during an audition stops it and leaves the button unusable.
    click(IDC_MUSIC_AUDITION);
    pick(IDC_MUSIC, 0);
    ASSERT_TRUE(waitUntil([this] { return auditionText() == "试听"; }));
    EXPECT_FALSE(isControlEnabled(IDC_MUSIC_AUDITION));
    EXPECT_EQ(musicItems(), (std::vector<std::string>{"", "a.mp3", "b.mp3", "c.mp3", "选择本地背景音乐..."}));
    EXPECT_EQ(musicSeconds, 0.0f);
}

TEST_F(MusicSettingsCommands, AuditionPlayedToTheEndPutsTheButtonBack) {
    addMusicPath(song("short.mp3", 0.3));
    pick(IDC_MUSIC, 1);
    click(IDC_MUSIC_AUDITION);
    EXPECT_EQ(auditionText(), "停止");
    ASSERT_TRUE(waitUntil([this] { return auditionText() == "试听"; }));
    EXPECT_EQ(comboGetItemText(IDC_MUSIC, 1), "short.mp3");
    EXPECT_FALSE(musicPlayer().isOpen());
}

TEST_F(MusicSettingsCommands, UnplayableMusicGoesToTheDesktopPlayer) {
    const std::string text = folder.write("notes.mp3", std::string(2000, 'x'));
    addMusicPath(text);
    addMusicPath(folder / "gone.mp3");
    pick(IDC_MUSIC, 1);
    click(IDC_MUSIC_AUDITION);
    EXPECT_EQ(auditionText(), "试听");
    ASSERT_EQ(launches.spawned.size(), 1u);
    EXPECT_EQ(launches.spawned[0].back(), text);
    pick(IDC_MUSIC, 2);
    click(IDC_MUSIC_AUDITION);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"无法试听, 错误返回值: 2"});
}

TEST_F(MusicSettingsCommands, LocalMusicJoinsTheListOnce) {
    const std::string local = song("本地.mp3", 0.5);
    pick(IDC_MUSIC, 0);
    answerOpenFile(local);
    pick(IDC_MUSIC, comboGetCount(IDC_MUSIC) - 1);
    EXPECT_EQ(musicItems(), (std::vector<std::string>{"", "本地.mp3", "选择本地背景音乐..."}));
    EXPECT_EQ(comboGetCurSel(IDC_MUSIC), 1);
    EXPECT_EQ(lastMusicIndex, 1);
    EXPECT_TRUE(isControlEnabled(IDC_MUSIC_AUDITION));
    EXPECT_EQ(lastMusicFolder, folder.path());

    pick(IDC_MUSIC, 2);  // the same file again
    EXPECT_EQ(comboGetCount(IDC_MUSIC), 3);
    EXPECT_EQ(comboGetCurSel(IDC_MUSIC), 1);

    answerOpenFile("");  // cancelled
    pick(IDC_MUSIC, 2);
    EXPECT_EQ(comboGetCurSel(IDC_MUSIC), 1);
    EXPECT_GT(musicSeconds, 0.4f);
    EXPECT_TRUE(boxTexts().empty());

    // What is not a regular file is refused like a cancelled choice, with a word why.
    std::filesystem::create_directory(folder / "folder.mp3");
    ASSERT_EQ(::symlink("/dev/zero", (folder / "zero.mp3").c_str()), 0);
    for (const char* name : {"folder.mp3", "zero.mp3"}) {
        answerOpenFile(folder / name);
        pick(IDC_MUSIC, 2);
        EXPECT_EQ(comboGetCurSel(IDC_MUSIC), 1) << name;
        EXPECT_EQ(comboGetCount(IDC_MUSIC), 3) << name;
    }
    EXPECT_EQ(boxTexts(), std::vector<std::string>(2, "选择的背景音乐文件无法读取，请重新选择"));
}

TEST_F(MusicSettingsCommands, PreviewMusicFollowsThePreview) {
    addMusicPath(song("a.mp3", 5));
    pick(IDC_MUSIC, 1);
    sendMainCommand(IDM_PREVIEW_MUSIC_PLAY, 0);
    EXPECT_FALSE(musicPlayer().isOpen()) << "no preview runs";
    previewRunState = 1;
    sendMainCommand(IDM_PREVIEW_MUSIC_PLAY, 0);
    EXPECT_TRUE(musicPlayer().isOpen());
    EXPECT_EQ(musicAuditionPlaying, 1);
    sendMainCommand(IDM_PREVIEW_MUSIC_PAUSE, 0);
    sendMainCommand(IDM_PREVIEW_MUSIC_RESUME, 0);
    const int replays = musicReplayCount;
    sendMainCommand(IDM_PREVIEW_MUSIC_REPLAY, 0);
    EXPECT_EQ(musicReplayCount, replays + 1);
    EXPECT_TRUE(musicPlayer().isOpen());
    sendMainCommand(IDM_PREVIEW_MUSIC_CLOSE, 0);
    EXPECT_FALSE(musicPlayer().isOpen());
    musicAuditionPlaying = 0;
}

TEST_F(MusicSettingsCommands, SettingsFilesSaveLoadAndListRecentlyUsed) {
    const std::string sz = folder / "program/sz";
    answerSaveFile(sz + "/plain");
    sendMainCommand(IDM_SAVE_VIDEO_SETTINGS, 0);
    answerSaveFile(sz + "/upper.SZ");
    sendMainCommand(IDM_SAVE_VIDEO_SETTINGS, 0);
    EXPECT_NE(contentOf(sz + "/plain.sz").find("\"pause_time\""), std::string::npos);
    EXPECT_NE(contentOf(sz + "/upper.SZ").find("\"pause_time\""), std::string::npos);
    EXPECT_TRUE(boxTexts().empty());

    // Loading through the dialog applies the file.
    comboSetCurSel(IDC_PAUSE_TIME, 3);
    answerOpenFile(sz + "/plain.sz");
    sendMainCommand(IDM_LOAD_VIDEO_SETTINGS, 0);
    EXPECT_EQ(comboGetCurSel(IDC_PAUSE_TIME), 0);

    // The drop-down lists the files; an entry loads its file, or says it is gone.
    QMenu* menu = settingsMenu();
    emit menu->aboutToShow();
    QList<QAction*> recent = commandActions(menu, IDM_RECENT_VIDEO_FIRST);
    ASSERT_EQ(recent.size(), 1);
    EXPECT_EQ(recent[0]->text().toStdString(), "加载 - plain.sz");
    EXPECT_EQ(commandActions(menu, IDM_RECENT_VIDEO_FIRST + 1).size(), 1);
    comboSetCurSel(IDC_PAUSE_TIME, 3);
    recent[0]->trigger();
    EXPECT_EQ(comboGetCurSel(IDC_PAUSE_TIME), 0);
    std::remove((sz + "/plain.sz").c_str());
    recent[0]->trigger();
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"文件:[" + sz + "/plain.sz]不存在"});
}

TEST_F(MusicSettingsCommands, SettingsSavedWithMixedCaptionPositionsLoadBack) {
    answerOpenFiles({picture("a.png"), picture("b.png"), picture("c.png")});
    click(IDM_ADD_PICTURES);
    click(IDC_CAPTION_CHECK);
    selectRows({1});
    pick(IDC_CAPTION_POSITION, 7);
    selectRows({0, 1});
    settle();
    ASSERT_EQ(comboGetCurSel(IDC_CAPTION_POSITION), -1);
    const std::string path = folder / "program/sz/mixed.sz";
    answerSaveFile(path);
    sendMainCommand(IDM_SAVE_VIDEO_SETTINGS, 0);
    answerOpenFile(path);
    sendMainCommand(IDM_LOAD_VIDEO_SETTINGS, 0);
    settle();
    EXPECT_TRUE(boxTexts().empty());
    EXPECT_EQ(isChecked(IDC_CAPTION_CHECK), 1);
    EXPECT_EQ(comboGetCurSel(IDC_CAPTION_POSITION), -1);
    EXPECT_EQ(pictureAt(0)->caption->position, 4);
    EXPECT_EQ(pictureAt(1)->caption->position, 7);
}

TEST_F(MusicSettingsCommands, EffectListsRoundTrip) {
    answerOpenFiles({picture("a.png"), picture("b.png"), picture("c.png")});
    click(IDM_ADD_PICTURES);
    const std::string path = folder / "program/sz/effects.dh";
    answerSaveFile(path);
    sendMainCommand(IDM_SAVE_ANIMATION_SETTINGS, 0);
    const std::string saved = contentOf(path);
    ASSERT_EQ(saved.rfind("99,", 0), 0u) << saved;
    std::ofstream(path) << "99,95,3";
    answerOpenFile(path);
    sendMainCommand(IDM_LOAD_ANIMATION_SETTINGS, 0);
    EXPECT_EQ(rowLabels(), (std::vector<std::string>{"无动画", "左右开门", "从左右两侧向中间展开"}));
}

TEST_F(MusicSettingsCommands, PreferencesAreKeptAtOnce) {
    const struct {
        int id;
        int* global;
        const char* valueName;
        int value;
    } cases[] = {
        {IDM_FILE_NAME_TIME, &mp4DefaultFileName, "mp4_default_file_name", 1},
        {IDM_FILE_NAME_FIRST_PICTURE, &mp4DefaultFileName, "mp4_default_file_name", 2},
        {IDM_FILE_NAME_BLANK, &mp4DefaultFileName, "mp4_default_file_name", 0},
        {IDM_BITRATE_3M, &mp4VideoBitrate, "mp4_video_bitrate", 3},
        {IDM_BITRATE_1M, &mp4VideoBitrate, "mp4_video_bitrate", 1},
        {IDM_BITRATE_DEFAULT, &mp4VideoBitrate, "mp4_video_bitrate", 0},
        {IDM_BG_FILL_BLACK, &videoBgFillColor, "video_bg_fill_color", 1},
        {IDM_BG_FILL_WHITE, &videoBgFillColor, "video_bg_fill_color", 0},
    };
    for (const auto& c : cases) {
        sendMainCommand(c.id, 0);
        EXPECT_EQ(*c.global, c.value) << c.id;
        int stored = -1;
        EXPECT_EQ(read_registry_dword(HKEY_CURRENT_USER, kPreferenceKey, c.valueName, &stored), 1) << c.id;
        EXPECT_EQ(stored, c.value) << c.id;
    }
}

TEST_F(MusicSettingsCommands, ShortcutAboutAndHelp) {
    const std::string desktop = folder.folder("desk");
    std::ofstream(folder / "config/user-dirs.dirs") << "XDG_DESKTOP_DIR=\"" << desktop << "\"\n";
    sendMainCommand(IDM_DESKTOP_SHORTCUT, 0);
    const std::string launcher = contentOf(desktop + "/主图视频.desktop");
    EXPECT_NE(launcher.find("Name=主图视频"), std::string::npos) << launcher;
    std::ofstream(folder / "config/user-dirs.dirs") << "XDG_DESKTOP_DIR=\"" << folder / "none/at/all" << "\"\n";
    sendMainCommand(IDM_DESKTOP_SHORTCUT, 0);
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"在桌面上成功创建了一个快捷方式", "在桌面上创建快捷方式失败"}));

    supportSite = "https://site.example";
    sendMainCommand(IDM_ABOUT, 0);
    ASSERT_EQ(boxes.boxes.size(), 3u);
    EXPECT_EQ(boxes.boxes[2].text,
              "Tevrako V10.5\n\n\n制作淘宝网主图视频，输出视频格式：MP4。\n\n支持处理的图片格式：JPG, PNG, GIF(静态), "
              "BMP, TBI。\n\n\n官网：https://site.example");
    EXPECT_EQ(boxes.boxes[2].caption, "关于");

    sendMainCommand(IDM_USER_GUIDE, 0);
    ASSERT_EQ(launches.spawned.size(), 1u);
    EXPECT_EQ(launches.spawned[0].back(), "https://site.example/help.html");
    supportSite.clear();
    sendMainCommand(IDM_SUPPORT_SITE, 0);
    EXPECT_EQ(launches.spawned.size(), 1u) << "no site, no page";
}

TEST_F(MusicSettingsCommands, WithoutASupportSiteItsCommandsAreGreyed) {
    // The window was built without a support site.
    for (int id : {IDM_SUPPORT_SITE, IDM_USER_GUIDE, IDM_UPLOAD_VIDEO})
        EXPECT_FALSE(controlWidget(id)->isEnabled()) << id;
    EXPECT_TRUE(controlWidget(IDM_ABOUT)->isEnabled());
    click(IDC_LOGO_CHECK);
    EXPECT_TRUE(controlWidget(IDC_LOGO_CHOOSE)->isEnabled());
    EXPECT_TRUE(controlWidget(IDC_LOGO_HELP)->isEnabled());
    EXPECT_FALSE(controlWidget(IDC_LOGO_DOWNLOAD)->isEnabled());

    // The about box leaves the site line out.
    click(IDM_ABOUT);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              "Tevrako V10.5\n\n\n制作淘宝网主图视频，输出视频格式：MP4。\n\n支持处理的图片格式：JPG, PNG, GIF(静态), "
              "BMP, TBI。");

    // With a site the logo page can be opened again.
    supportSite = "https://site.example";
    click(IDC_LOGO_CHECK);
    click(IDC_LOGO_CHECK);
    EXPECT_TRUE(controlWidget(IDC_LOGO_DOWNLOAD)->isEnabled());
}
