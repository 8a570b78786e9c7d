// Every length is a count of frames at 25 per second: the pause per picture
// (from the pause combo), a picture's animation, the whole video. Lengths
// are measured by running every picture's effect in count mode.
#pragma once

#include <string>

constexpr int FRAME_RATE = 25;

constexpr int kPauseEntries = 23;
constexpr int kMusicSyncEntry = 22;     // "与背景音乐同步": follows the music
constexpr int kDefaultPauseEntry = 14;  // "1.6秒"

// Seconds per pause combo entry; entry kMusicSyncEntry is rewritten by
// syncPauseWithMusic.
extern double pauseSecondsTable[kPauseEntries];
// The pause combo's item texts, entry by entry.
extern const char* const pauseEntryLabels[kPauseEntries];

// The seconds rounded to single precision, times 25, truncated: 1.4 s
// gives 34 frames, 1.8 s gives 44.
int pauseFramesForSeconds(double seconds);

// Frames of the whole video: every picture's count-mode frames; 0 for an
// empty list.
int getTotalFrames();
// Seconds of a frame count as the length rules compare them: (float)(frames / 25.0f).
float framesToSeconds(int frames);

// Status-bar part 3: "视频长度: %0.2f秒", or "视频长度: 0秒" for an empty list.
void showVideoLength();

// Fits the music-sync entry to musicSeconds (see timing.cpp), updates its
// label in the pause combo, pauseFrames, the selection state and the
// video length.
void syncPauseWithMusic();
