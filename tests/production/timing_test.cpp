#include "production/timing.h"

#include <gtest/gtest.h>

#include "foundation/globals.h"
#include "platform/command_ids.h"
#include "platform/status_bar.h"
#include "platform/window_controls.h"
#include "production_support.h"

using production_test::ProductionTest;

TEST(Timing, PauseEntriesTruncateInSinglePrecision) {
    const int frames[kPauseEntries - 1] = {2,  3,  4,  5,  7,  10, 12, 15, 17, 20, 22,
                                           25, 30, 34, 40, 44, 50, 62, 75, 87, 100, 125};
    for (int entry = 0; entry < kPauseEntries - 1; ++entry)
        EXPECT_EQ(pauseFramesForSeconds(pauseSecondsTable[entry]), frames[entry]) << pauseEntryLabels[entry];
    EXPECT_STREQ(pauseEntryLabels[kDefaultPauseEntry], "1.6秒");
}

class TimingTest : public ProductionTest {};

TEST_F(TimingTest, TotalFramesAndLengthLabelCountEveryPicture) {
    showVideoLength();
    EXPECT_EQ(getTotalFrames(), 0);
    EXPECT_EQ(statusText(3), "视频长度: 0秒");

    pauseFrames = 40;
    addPicture("/nowhere/a.jpg", 99);
    addPicture("/nowhere/b.jpg", 31);  // the fade: 17 transition frames
    addPicture("/nowhere/c.jpg", 150); // no such effect: no animation
    EXPECT_EQ(getTotalFrames(), 40 + 17 + 40 + 40);
    showVideoLength();
    EXPECT_EQ(statusText(3), "视频长度: 5.48秒");
}

TEST_F(TimingTest, MusicFitRaisesPauseUntilTheVideoReachesTheMusic) {
    setUpOutputControls(10, kMusicSyncEntry, 1);
    for (int i = 0; i < 4; ++i) addPicture("/nowhere/p.jpg", 99);
    musicSeconds = 10.0f;
    syncPauseWithMusic();
    double pause = pauseSecondsTable[kMusicSyncEntry];
    // The last pause whose video is still shorter than the music.
    EXPECT_LT(4 * pauseFramesForSeconds(pause), 250);
    EXPECT_GE(4 * pauseFramesForSeconds(pause + 0.01), 250);
    EXPECT_EQ(pauseFrames, pauseFramesForSeconds(pause));
    char label[64];
    std::snprintf(label, sizeof label, "与背景音乐同步 - %0.2f秒", pause);
    EXPECT_EQ(comboGetItemText(IDC_PAUSE_TIME, kMusicSyncEntry), label);
    EXPECT_EQ(comboGetCurSel(IDC_PAUSE_TIME), kMusicSyncEntry) << "selection kept on the new item";
}

TEST_F(TimingTest, MusicFitWhereTheVideoMeetsTheMusicExactly) {
    // Five pictures and 10 s of music: 250 frames is exactly the music.
    struct Case {
        int effect;      // 73 animates 20 frames (0.8 s), 99 none
        int pauseFrames; // of the fitted pause
    } cases[] = {
        // The first guess, 1.2 s, already gives 10 s: it is kept.
        {73, 30},
        // Growing from 6 s stops at the first pause that reaches 10 s and
        // steps back below it.
        {99, 49},
    };
    setUpOutputControls(10, kMusicSyncEntry, 1);
    PictureRecord* pictures[5];
    for (PictureRecord*& picture : pictures) picture = addPicture("/nowhere/p.jpg");
    musicSeconds = 10.0f;
    for (const Case& c : cases) {
        for (PictureRecord* picture : pictures) picture->effectIndex = c.effect;
        syncPauseWithMusic();
        EXPECT_EQ(pauseFramesForSeconds(pauseSecondsTable[kMusicSyncEntry]), c.pauseFrames) << c.effect;
        EXPECT_EQ(pauseFrames, c.pauseFrames) << c.effect;
    }
}

TEST_F(TimingTest, MusicShorterThanTheAnimationsStartsFromOneFrame) {
    setUpOutputControls(10, kMusicSyncEntry, 1);
    for (int i = 0; i < 4; ++i) addPicture("/nowhere/p.jpg", 99);
    musicSeconds = 1.0f;  // first guess (1 - 3.2) / 4 is negative
    syncPauseWithMusic();
    double pause = pauseSecondsTable[kMusicSyncEntry];
    EXPECT_GT(pause, 0.06);
    EXPECT_LT(4 * pauseFramesForSeconds(pause), 25);
    EXPECT_GE(4 * pauseFramesForSeconds(pause + 0.01), 25);
    EXPECT_GT(pauseFrames, 0);
}

TEST_F(TimingTest, MusicFitEndsEvenWhereSteppingCannotMoveThePause) {
    // At 300000 s a step of 0.01 s is lost in single precision.
    setUpOutputControls(10, 3, 1);
    addPicture("/nowhere/p.jpg", 99);
    musicSeconds = 300000.0f;
    syncPauseWithMusic();
    EXPECT_GT(pauseSecondsTable[kMusicSyncEntry], 299000.0);
    EXPECT_EQ(pauseFrames, 5) << "a fixed pause entry keeps its own frames";
}

TEST_F(TimingTest, NoMusicOrNoPicturesResetsTheSyncEntry) {
    setUpOutputControls(10, kMusicSyncEntry, 0);
    pauseSecondsTable[kMusicSyncEntry] = 2.5;
    musicSeconds = 0.0f;
    addPicture("/nowhere/p.jpg", 99);
    syncPauseWithMusic();
    EXPECT_EQ(pauseSecondsTable[kMusicSyncEntry], 0.0);
    EXPECT_EQ(comboGetItemText(IDC_PAUSE_TIME, kMusicSyncEntry), "与背景音乐同步");
    EXPECT_EQ(pauseFrames, 0);
}
