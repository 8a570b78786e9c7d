#include "production/timing.h"

#include <cstdio>

#include "foundation/globals.h"
#include "foundation/linked_list.h"
#include "platform/command_ids.h"
#include "platform/status_bar.h"
#include "platform/window_controls.h"
#include "production/selection_state.h"
#include "render/picture_renderer.h"

double pauseSecondsTable[kPauseEntries] = {
    0.1, 0.13, 0.18, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0,
    1.2, 1.4, 1.6, 1.8, 2.0, 2.5, 3.0, 3.5, 4.0, 5.0, 0.0,
};

const char* const pauseEntryLabels[kPauseEntries] = {
    "0.1秒", "0.12秒", "0.16秒", "0.2秒", "0.3秒", "0.4秒", "0.5秒", "0.6秒",
    "0.7秒", "0.8秒", "0.9秒", "1.0秒", "1.2秒", "1.4秒", "1.6秒", "1.8秒",
    "2.0秒", "2.5秒", "3.0秒", "3.5秒", "4.0秒", "5.0秒", "与背景音乐同步",
};

namespace {

constexpr float kMinimumSyncPause = 0.061f;  // one frame
constexpr float kShrinkFloor = 0.1f;
// The growing search moves 0.01 s per step; a pause beyond the 61 seconds a
// video may last is never useful, so the search stops there at the latest.
constexpr int kMaxSyncSteps = 6100;

int pictureCount() { return pictureList ? linkedlist_size(pictureList) : 0; }

float measuredSeconds(float pause) {
    pauseFrames = pauseFramesForSeconds(pause);
    return framesToSeconds(getTotalFrames());
}

float stepped(float pause, double step) { return static_cast<float>(pause + step); }

// Raises the pause in 0.01 s steps until the video reaches the music's
// length, and returns the last pause below it.
float growPause(float pause, float musicLength) {
    for (int step = 0; step < kMaxSyncSteps; ++step) {
        if (measuredSeconds(pause) >= musicLength) break;
        pause = stepped(pause, 0.01);
    }
    return stepped(pause, -0.01);
}

// Lowers the pause in 0.01 s steps until the video fits the music, not
// below 0.1 s.
float shrinkPause(float pause, float musicLength) {
    if (pause <= kShrinkFloor) return pause;
    for (;;) {
        if (measuredSeconds(pause) <= musicLength) return pause;
        pause = stepped(pause, -0.01);
        if (pause <= kShrinkFloor) return pause;
    }
}

float fittedPause(float musicLength, int pictures) {
    float pause = static_cast<float>((static_cast<double>(musicLength) - 0.8 * pictures) / pictures);
    // Music shorter than 0.8 s per picture gives a negative first guess;
    // it is raised to one frame before anything is measured with it.
    if (pause < kMinimumSyncPause) {
        pause = kMinimumSyncPause;
        if (measuredSeconds(pause) >= musicLength) return pause;
        return growPause(pause, musicLength);
    }
    if (measuredSeconds(pause) >= musicLength) return shrinkPause(pause, musicLength);
    return growPause(pause, musicLength);
}

// The pause combo's last item gets the new label, keeping its selection.
void relabelMusicSyncItem(const std::string& label) {
    int count = comboGetCount(IDC_PAUSE_TIME);
    if (count < 1) return;
    bool selected = comboGetCurSel(IDC_PAUSE_TIME) == count - 1;
    comboDeleteString(IDC_PAUSE_TIME, count - 1);
    int index = comboAddString(IDC_PAUSE_TIME, label);
    if (selected) comboSetCurSel(IDC_PAUSE_TIME, index);
}

} // namespace

int pauseFramesForSeconds(double seconds) {
    // The product is kept in double precision, the way the pause table
    // has always been converted: 1.4f * 25 is 34.9999994, which single precision would
    // round up to 35.
    return static_cast<int>(static_cast<double>(static_cast<float>(seconds)) * 25.0);
}

int getTotalFrames() {
    int total = 0;
    for (int i = 0; i < pictureCount(); ++i) {
        auto* picture = static_cast<const PictureRecord*>(linkedlist_get(pictureList, i));
        int frames = 0;
        renderPicture(picture, nullptr, &frames);
        total += frames;
    }
    return total;
}

float framesToSeconds(int frames) { return static_cast<float>(frames / 25.0f); }

void showVideoLength() {
    if (pictureCount() == 0) {
        setStatusText(3, "视频长度: 0秒");
        return;
    }
    char text[64];
    std::snprintf(text, sizeof text, "视频长度: %0.2f秒",
                  static_cast<double>(getTotalFrames() / 25.0));
    setStatusText(3, text);
}

void syncPauseWithMusic() {
    const float musicLength = musicSeconds;
    const int pictures = pictureCount();
    const int savedPauseFrames = pauseFrames;
    std::string label = "与背景音乐同步";
    float pause = 0.0f;
    if (pictures >= 1 && musicLength > 0.0f) {
        pause = fittedPause(musicLength, pictures);
        char text[64];
        std::snprintf(text, sizeof text, "与背景音乐同步 - %0.2f秒", static_cast<double>(pause));
        label = text;
    }
    pauseSecondsTable[kMusicSyncEntry] = pause;
    relabelMusicSyncItem(label);

    int selected = comboGetCurSel(IDC_PAUSE_TIME);
    int count = comboGetCount(IDC_PAUSE_TIME);
    if (count > 0 && selected == count - 1) pauseFrames = pauseFramesForSeconds(pause);
    else if (selected >= 0 && selected < kMusicSyncEntry)
        pauseFrames = pauseFramesForSeconds(pauseSecondsTable[selected]);
    else pauseFrames = savedPauseFrames;  // nothing selected: the measuring leaves no trace
    updateSelectionState();
    showVideoLength();
}
