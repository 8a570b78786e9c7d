// Commands of the output settings: the video size (presets, custom sizes),
// the pause per picture, and GIF mode.
#include <QComboBox>
#include <cstdio>
#include <string>

#include "foundation/globals.h"
#include "platform/command_ids.h"
#include "platform/main_command.h"
#include "platform/message_box.h"
#include "platform/window_controls.h"
#include "production/caption_markers.h"
#include "production/picture_effect.h"
#include "production/picture_list.h"
#include "production/selection_state.h"
#include "production/timing.h"
#include "render/effects/effect_table.h"
#include "ui/command_router.h"
#include "ui/control_registry.h"
#include "ui/custom_size_dialog.h"
#include "ui/main_commands.h"
#include "ui/main_window.h"
#include "ui/main_window_tables.h"
#include "production/video_size_presets.h"

namespace {

constexpr int kGifMaxPictures = 600;
constexpr int kMaxPictures = 60;
const char* const kGifTitleSuffix = " - [GIF模式]";

// Size combo index of the size last accepted.
int lastVideoSizeIndex = 0;

std::string sizeText(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

// The combo index of a custom size: a preset of that size, else an item
// added before for it, else a new item before "自定义...".
int customSizeIndex(int width, int height) {
    for (int i = 1; i <= kLastVideoSizePreset; ++i)
        if (videoSizePresetWidths[i] == width && videoSizePresetHeights[i] == height) return i;
    auto* combo = controlAs<QComboBox>(IDC_VIDEO_SIZE);
    const int last = combo->count() - 1;
    const QString wanted = QString::fromStdString(sizeText(width, height));
    for (int i = kLastVideoSizePreset + 1; i < last; ++i)
        if (combo->itemText(i) == wanted) return i;
    combo->insertItem(last, wanted);
    return last;
}

void chooseCustomSize() {
    CustomVideoSizeResult result{};
    if (!showCustomVideoSizeDialog(mainWindow(), &result)) {
        comboSetCurSel(IDC_VIDEO_SIZE, lastVideoSizeIndex);
        return;
    }
    int index = customSizeIndex(result.width, result.height);
    comboSetCurSel(IDC_VIDEO_SIZE, index);
    lastVideoSizeIndex = index;
    videoWidth = result.width;
    videoHeight = result.height;
}

// An inserted custom item reads "<width>x<height>".
void useCustomItem(int index) {
    int width = 0, height = 0;
    char separator = 0;
    std::string item = comboGetItemText(IDC_VIDEO_SIZE, index);
    if (std::sscanf(item.c_str(), "%d%c%d", &width, &separator, &height) == 3) {
        videoWidth = width;
        videoHeight = height;
    }
    lastVideoSizeIndex = index;
}

void videoSize(int id, int code) {
    if (code != CBN_SELCHANGE) return;
    const int selected = comboGetCurSel(id);
    const int last = comboGetCount(id) - 1;
    if (selected < 1) {
        videoWidth = videoHeight = 400;
        lastVideoSizeIndex = 0;
    } else if (selected <= kLastVideoSizePreset) {
        videoWidth = videoSizePresetWidths[selected];
        videoHeight = videoSizePresetHeights[selected];
        lastVideoSizeIndex = selected;
    } else if (selected == last) {
        chooseCustomSize();
    } else {
        useCustomItem(selected);
    }
    updateSelectionState();
    showVideoLength();
    if (comboGetCurSel(IDC_MUSIC) >= 1) syncPauseWithMusic();
}

void pauseTime(int id, int code) {
    if (code != CBN_SELCHANGE) return;
    const int selected = comboGetCurSel(id);
    if (selected < 0 || selected >= kPauseEntries) return;
    pauseFrames = pauseFramesForSeconds(pauseSecondsTable[selected]);
    updateSelectionState();
    showVideoLength();
}

void selectFirstPause() {
    comboSetCurSel(IDC_PAUSE_TIME, 0);
    sendMainCommand(IDC_PAUSE_TIME, CBN_SELCHANGE);
}

void gifModeOn() {
    for (int i = 0; i < pictureListSize(); ++i)
        if (pictureAt(i)->effectIndex != kNoAnimation) setPictureEffect(i, kNoAnimation);
    // A pause that follows the music stays; any other becomes the shortest.
    if (comboGetCurSel(IDC_PAUSE_TIME) != comboGetCount(IDC_PAUSE_TIME) - 1)
        comboSetCurSel(IDC_PAUSE_TIME, 0);
    sendMainCommand(IDC_PAUSE_TIME, CBN_SELCHANGE);
    refreshPictureRows();
}

// False when the user keeps GIF mode rather than lose the pictures beyond 60.
bool gifModeOff() {
    if (pictureListSize() > maxPictures) {
        char question[160];
        std::snprintf(question, sizeof question,
                      "当前添加的图片数量超过 %d 张, 多出的图片将从图片列表中移除。", maxPictures);
        if (messageBox(hwndMain, question, "确认", MB_ICONQUESTION | MB_OKCANCEL) != IDOK) {
            setChecked(IDM_GIF_MODE, 1);
            maxPictures = kGifMaxPictures;
            return false;
        }
        trimPictureList();
    }
    sendMainCommand(IDM_RANDOM_EFFECTS, 1);
    refreshPictureRows();
    return true;
}

void setGifTitle(bool on) {
    MainWindow* window = mainWindow();
    if (!window) return;
    QString title = window->windowTitle();
    const QString suffix = QString::fromUtf8(kGifTitleSuffix);
    int at = title.indexOf(suffix);
    if (on && at < 0) title += suffix;
    if (!on && at >= 0) title.truncate(at);
    window->setWindowTitle(title);
}

void gifMode(int, int) {
    const bool on = isChecked(IDM_GIF_MODE) != 0;
    maxPictures = on ? kGifMaxPictures : kMaxPictures;
    if (isChecked(IDC_CAPTION_CHECK) || isChecked(IDC_CAPTION_CHECK2)) {
        setChecked(IDC_CAPTION_CHECK, 0);
        setChecked(IDC_CAPTION_CHECK2, 0);
        applyCaptionModeToAll(IDC_CAPTION_CHECK, IDC_CAPTION_CHECK2);
        if (QWidget* sample = controlWidget(IDC_CAPTION_SAMPLE)) sample->update();
    }
    if (pictureListSize() == 0) selectFirstPause();
    else if (on) gifModeOn();
    else if (!gifModeOff()) return;
    placeEffectCombo();
    setGifTitle(on);
}

} // namespace

void registerOutputCommands() {
    setCommandHandler(IDC_VIDEO_SIZE, videoSize);
    setCommandHandler(IDC_PAUSE_TIME, pauseTime);
    setCommandHandler(IDM_GIF_MODE, gifMode);
}
