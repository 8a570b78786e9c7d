#include "production/background_music.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>

#include "foundation/array_list.h"
#include "platform/command_ids.h"
#include "platform/status_bar.h"
#include "platform/window_controls.h"
#include "production/timing.h"
#include "music_fixture.h"

namespace {

std::vector<std::string> comboItems(int id) {
    std::vector<std::string> items;
    for (int i = 0; i < comboGetCount(id); ++i) items.push_back(comboGetItemText(id, i));
    return items;
}

std::vector<std::string> musicPaths() {
    std::vector<std::string> paths;
    for (int i = 0; musicPathList && i < musicPathList->count; ++i) paths.push_back(musicPathAt(i));
    return paths;
}

std::mutex noticeLock;
std::condition_variable noticeArrived;
std::vector<AudioEnd> notices;

void recordNotice(AudioEnd code) {
    std::lock_guard<std::mutex> hold(noticeLock);
    notices.push_back(code);
    noticeArrived.notify_all();
}

} // namespace

TEST_F(MusicTest, ListHoldsTheMusicFolderBetweenTheEmptyAndLocalFileEntries) {
    std::string b = musicFile("b.mp3"), a = musicFile("a.MP3");
    musicFile("notes.txt");
    folder.folder("program/mp3/folder.mp3");
    ASSERT_EQ(::mkfifo((folder / "program/mp3/fifo.mp3").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("/dev/zero", (folder / "program/mp3/zero.mp3").c_str()), 0);
    buildMusicList();
    EXPECT_EQ(comboItems(IDC_MUSIC), (std::vector<std::string>{"", "a.MP3", "b.mp3", kLocalMusicItem}));
    EXPECT_EQ(musicPaths(), (std::vector<std::string>{"", a, b, ""}));
    EXPECT_EQ(comboGetCurSel(IDC_MUSIC), 0);

    // Added music goes before the local-file entry, once, and the
    // selection stays on the item it was on.
    comboSetCurSel(IDC_MUSIC, 3);
    std::string c = folder.write("elsewhere 歌.mp3");
    EXPECT_EQ(addMusicPath(c), 3);
    EXPECT_EQ(addMusicPath(c), 3);
    EXPECT_EQ(addMusicPath(a), 1);
    EXPECT_EQ(addMusicPath(""), -1);
    EXPECT_EQ(comboItems(IDC_MUSIC), (std::vector<std::string>{"", "a.MP3", "b.mp3", "elsewhere 歌.mp3", kLocalMusicItem}));
    EXPECT_EQ(musicPaths(), (std::vector<std::string>{"", a, b, c, ""}));
    EXPECT_EQ(comboGetCurSel(IDC_MUSIC), 4);
    EXPECT_EQ(findMusicPath(c), 3);
    EXPECT_EQ(findMusicPath(folder / "other.mp3"), -1);
    EXPECT_EQ(musicPathAt(9), "");
}

TEST_F(MusicTest, MissingMusicFolderLeavesTheTwoFixedEntries) {
    buildMusicList();
    EXPECT_EQ(comboItems(IDC_MUSIC), (std::vector<std::string>{"", kLocalMusicItem}));
}

TEST_F(MusicTest, MusicLengthFollowsTheSelectionAndFitsThePause) {
    std::string song = folder / "program/mp3/song.mp3";
    folder.folder("program/mp3");
    production_test::writeMusic(song, 2.0);
    // MPEG audio under another name is not taken as music.
    std::string disguised = folder.write("program/mp3/x.mp3.wav", production_test::runCapture({"/bin/cat", song}));
    setUpOutputControls(10, kMusicSyncEntry);
    for (int i = 0; i < 2; ++i) addPicture("/nowhere/p.jpg", 99);
    addMusicPath(song);
    addMusicPath(disguised);

    comboSetCurSel(IDC_MUSIC, 1);
    updateMusicLength();
    EXPECT_NEAR(musicSeconds, 2.0, 0.1);
    char expected[64];
    std::snprintf(expected, sizeof expected, "音频长度: %0.2f秒", static_cast<double>(musicSeconds));
    EXPECT_EQ(statusText(2), expected);
    EXPECT_EQ(comboGetItemText(IDC_PAUSE_TIME, kMusicSyncEntry).rfind("与背景音乐同步 - ", 0), 0u);

    for (int entry : {2, 0, 3}) {
        comboSetCurSel(IDC_MUSIC, entry);
        updateMusicLength();
        EXPECT_EQ(musicSeconds, 0.0f) << entry;
        EXPECT_EQ(statusText(2), "音频长度: 0秒") << entry;
        EXPECT_EQ(comboGetItemText(IDC_PAUSE_TIME, kMusicSyncEntry), "与背景音乐同步") << entry;
    }
}

TEST_F(MusicTest, AuditionSuffixComesOffTheLabel) {
    buildMusicList();
    addMusicPath(folder / "a.mp3");
    comboReplaceString(IDC_MUSIC, 1, std::string("a.mp3") + kAuditionSuffix);
    comboSetCurSel(IDC_MUSIC, 1);
    auditionIndex = 1;
    removeAuditionSuffix();
    EXPECT_EQ(comboItems(IDC_MUSIC), (std::vector<std::string>{"", "a.mp3", kLocalMusicItem}));
    EXPECT_EQ(comboGetCurSel(IDC_MUSIC), 1);
    EXPECT_EQ(auditionIndex, -1);
    removeAuditionSuffix();  // nothing left to remove
    EXPECT_EQ(comboGetItemText(IDC_MUSIC, 1), "a.mp3");
}

TEST_F(MusicTest, PreviewMusicPlaysOnlyARealSelectedFile) {
    folder.folder("program/mp3");
    production_test::writeMusic(folder / "program/mp3/short.mp3", 0.3);
    buildMusicList();
    addMusicPath(folder / "deleted.mp3");
    {
        std::lock_guard<std::mutex> hold(noticeLock);
        notices.clear();
    }
    setMusicNotifyHandler(recordNotice);

    for (int entry : {0, 2, 3}) {  // no music, a file that is gone, the local-file item
        comboSetCurSel(IDC_MUSIC, entry);
        playMusicAudition();
        EXPECT_EQ(musicAuditionPlaying, 0) << entry;
        EXPECT_FALSE(musicPlayer().isOpen()) << entry;
    }

    comboSetCurSel(IDC_MUSIC, 1);
    playMusicAudition();
    EXPECT_EQ(musicAuditionPlaying, 1);
    std::unique_lock<std::mutex> hold(noticeLock);
    ASSERT_TRUE(noticeArrived.wait_for(hold, std::chrono::seconds(5), [] { return !notices.empty(); }));
    EXPECT_EQ(notices, std::vector<AudioEnd>{AudioEnd::Successful});
}
