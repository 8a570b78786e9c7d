#include "production/video_settings.h"

#include <cjson/cJSON.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

#include "foundation/charset.h"
#include "foundation/file_path.h"
#include "foundation/globals.h"
#include "foundation/linked_list.h"
#include "platform/command_ids.h"
#include "platform/main_command.h"
#include "platform/message_box.h"
#include "platform/regular_file.h"
#include "platform/window_controls.h"
#include "production/background_music.h"
#include "production/settings_files.h"
#include "production/timing.h"
#include "production/video_size_presets.h"

namespace {

// Items of the fixed combos.
constexpr int kCaptionPositions = 9;
constexpr int kFontSizes = 13;
constexpr int kCaptionColors = 14;
constexpr int kLogoPositions = 8;
constexpr int kDefaultFontSize = 8;  // "36"
constexpr int kDefaultLogoPosition = 2;
constexpr int kMaxLogoPathLength = 1023;

struct JsonDelete {
    void operator()(cJSON* json) const { cJSON_Delete(json); }
};
using JsonPtr = std::unique_ptr<cJSON, JsonDelete>;

void select(int id, int index) {
    comboSetCurSel(id, index);
    sendMainCommand(id, CBN_SELCHANGE);
}

void check(int id, int checked) {
    setChecked(id, checked);
    sendMainCommand(id, BN_CLICKED);
}

void formatError() { messageBox(hwndMain, "文件格式不对！", "提示", MB_OK | MB_ICONERROR); }

// The values of a file, each checked against its control's range. A key
// that is absent stays empty; a present key with a value out of range
// makes the whole file unusable.
struct LoadedSettings {
    std::optional<std::string> music, logoPath;
    std::optional<int> captionMode, position, font, fontSize, color, logo, logoPosition, pause;
    std::optional<int> width, height;
};

// False when key is present but not a whole number from low to high.
bool readNumber(const cJSON* root, const char* key, int low, int high, std::optional<int>& out) {
    const cJSON* item = cJSON_GetObjectItem(root, key);
    if (!item) return true;
    if (!cJSON_IsNumber(item)) return false;
    const double value = item->valuedouble;
    if (value != std::floor(value) || value < low || value > high) return false;
    out = static_cast<int>(value);
    return true;
}

// False when key is present but not a text of at most maxLength (measured as GBK).
bool readText(const cJSON* root, const char* key, int maxLength, std::optional<std::string>& out) {
    const cJSON* item = cJSON_GetObjectItem(root, key);
    if (!item) return true;
    if (!cJSON_IsString(item) || gbk_length(item->valuestring) > maxLength) return false;
    out = item->valuestring;
    return true;
}

// A size is -1 (none) or an even number of pixels no smaller than a custom size may be.
bool validSide(const std::optional<int>& side) {
    return !side || *side == -1 || (*side >= kMinVideoSide && *side % 2 == 0);
}

bool readSettings(const cJSON* root, LoadedSettings& s) {
    // A font index the combo does not have (the file was saved where other
    // fonts were listed) is no damage: the load keeps the first font. With no
    // font installed the index has nothing to select: any number passes.
    const int lowestFont = comboGetCount(IDC_CAPTION_FONT) > 0 ? -1 : INT_MIN;
    // -1 is the position combo showing selected pictures at different positions.
    return readText(root, "bgsound_src", kMaxPathLength, s.music) &&
           readNumber(root, "text_watermark", 0, 2, s.captionMode) &&
           readNumber(root, "text_watermark_location", -1, kCaptionPositions - 1, s.position) &&
           readNumber(root, "text_watermark_font", lowestFont, INT_MAX, s.font) &&
           readNumber(root, "text_watermark_font_size", 0, kFontSizes - 1, s.fontSize) &&
           readNumber(root, "text_watermark_color", 0, kCaptionColors - 1, s.color) &&
           readNumber(root, "logo", 0, 1, s.logo) &&
           readText(root, "logo_path", kMaxLogoPathLength, s.logoPath) &&
           readNumber(root, "logo_location", 0, kLogoPositions - 1, s.logoPosition) &&
           readNumber(root, "video_size_width", -1, INT_MAX, s.width) &&
           readNumber(root, "video_size_height", -1, INT_MAX, s.height) && validSide(s.width) &&
           validSide(s.height) && readNumber(root, "pause_time", 0, kPauseEntries - 1, s.pause);
}

// The size combo's item for a loaded size: a preset, or a custom item,
// added before "自定义..." when it is not there yet; 0 without a size or
// for a side over 2160.
int sizeItemFor(const std::optional<int>& width, const std::optional<int>& height) {
    if (!width || !height || *width == -1 || *height == -1) return 0;
    if (*width > kMaxVideoHeight || *height > kMaxVideoHeight) return 0;
    for (int i = 1; i < kVideoSizePresets; ++i)
        if (videoSizePresetWidths[i] == *width && videoSizePresetHeights[i] == *height) return i;
    char text[32];
    std::snprintf(text, sizeof text, "%dx%d", *width, *height);
    const int count = comboGetCount(IDC_VIDEO_SIZE);
    for (int i = kVideoSizePresets; i < count - 1; ++i)
        if (comboGetItemText(IDC_VIDEO_SIZE, i) == text) return i;
    return comboInsertString(IDC_VIDEO_SIZE, count > 0 ? count - 1 : 0, text);
}

bool pictureListEmpty() { return !pictureList || linkedlist_size(pictureList) == 0; }

// Applies the loaded values in key order; false at the first missing key.
bool applySettings(const LoadedSettings& s) {
    if (!s.music) return false;
    // Music that is not a regular file (a FIFO would block its reader) is
    // left out like music that is gone.
    const int music = isRegularFile(s.music->c_str()) ? addMusicPath(*s.music) : 0;
    select(IDC_MUSIC, music < 0 ? 0 : music);

    if (!isChecked(IDM_GIF_MODE)) {
        if (!s.captionMode) return false;
        // Either caption mode checks the first box.
        if (*s.captionMode == 1 || *s.captionMode == 2) check(IDC_CAPTION_CHECK, 1);
    }

    if (!s.position) return false;
    // No position (-1) names none to give new pictures: they keep theirs.
    if (*s.position >= 0) captionPosition = *s.position;
    comboSetCurSel(IDC_CAPTION_POSITION, *s.position);
    // The position reaches the selected pictures only while the user could pick it.
    if (!pictureListEmpty() && isControlEnabled(IDC_CAPTION_POSITION))
        sendMainCommand(IDC_CAPTION_POSITION, CBN_SELCHANGE);

    if (!s.font) return false;
    const int fonts = comboGetCount(IDC_CAPTION_FONT);
    select(IDC_CAPTION_FONT, fonts == 0 ? -1 : *s.font >= 0 && *s.font < fonts ? *s.font : 0);
    select(IDC_FONT_SIZE, s.fontSize.value_or(kDefaultFontSize));
    if (!s.color) return false;
    select(IDC_CAPTION_COLOR, *s.color);

    if (!s.logo) return false;
    check(IDC_LOGO_CHECK, *s.logo);
    if (!s.logoPath) return false;
    setControlText(IDC_LOGO_PATH, *s.logoPath);
    if (!s.logoPosition) return false;
    comboSetCurSel(IDC_LOGO_POSITION, *s.logoPosition);

    select(IDC_VIDEO_SIZE, sizeItemFor(s.width, s.height));

    if (!s.pause) return false;
    select(IDC_PAUSE_TIME, *s.pause);
    return true;
}

void addNumber(cJSON* root, const char* key, int value) {
    cJSON_AddItemToObject(root, key, cJSON_CreateNumber(value));
}

} // namespace

std::string buildVideoSettingsJson() {
    JsonPtr root(cJSON_CreateObject());
    const int captionMode = isChecked(IDC_CAPTION_CHECK) ? 1 : isChecked(IDC_CAPTION_CHECK2) ? 2 : 0;
    addNumber(root.get(), "text_watermark", captionMode);
    addNumber(root.get(), "text_watermark_location", comboGetCurSel(IDC_CAPTION_POSITION));
    addNumber(root.get(), "text_watermark_font", comboGetCurSel(IDC_CAPTION_FONT));
    addNumber(root.get(), "text_watermark_font_size", comboGetCurSel(IDC_FONT_SIZE));
    addNumber(root.get(), "text_watermark_color", comboGetCurSel(IDC_CAPTION_COLOR));
    addNumber(root.get(), "logo", isChecked(IDC_LOGO_CHECK) ? 1 : 0);
    const std::string logoPath = getControlText(IDC_LOGO_PATH);
    cJSON_AddItemToObject(root.get(), "logo_path",
                          cJSON_CreateString(logoPath.substr(0, gbk_prefix_bytes(logoPath.c_str(), kMaxLogoPathLength)).c_str()));
    addNumber(root.get(), "logo_location", comboGetCurSel(IDC_LOGO_POSITION));
    const bool sized = comboGetCurSel(IDC_VIDEO_SIZE) >= 1;
    addNumber(root.get(), "video_size_width", sized ? videoWidth : -1);
    addNumber(root.get(), "video_size_height", sized ? videoHeight : -1);
    addNumber(root.get(), "pause_time", comboGetCurSel(IDC_PAUSE_TIME));
    const int music = comboGetCurSel(IDC_MUSIC);
    addNumber(root.get(), "bgsound", music);
    cJSON_AddItemToObject(root.get(), "bgsound_src", cJSON_CreateString(musicPathAt(music).c_str()));
    char* printed = cJSON_Print(root.get());
    std::string text = printed ? printed : "";
    cJSON_free(printed);
    return text;
}

int saveVideoSettings(const std::string& path) { return writeSettingsFile(path, buildVideoSettingsJson()); }

void resetSettingsControls() {
    if (!isChecked(IDM_GIF_MODE)) {
        check(IDC_CAPTION_CHECK, 0);
        check(IDC_CAPTION_CHECK2, 0);
    }
    select(IDC_CAPTION_FONT, 0);
    select(IDC_CAPTION_COLOR, 0);
    check(IDC_LOGO_CHECK, 0);
    setControlText(IDC_LOGO_PATH, "");
    comboSetCurSel(IDC_LOGO_POSITION, kDefaultLogoPosition);
    for (int i = 0; i < kVideoSizePresets; ++i)
        if (videoSizePresetWidths[i] == defaultVideoWidth && videoSizePresetHeights[i] == defaultVideoHeight)
            select(IDC_VIDEO_SIZE, i);
    select(IDC_PAUSE_TIME, kDefaultPauseEntry);
    select(IDC_MUSIC, 0);
}

void loadVideoSettings(const std::string& path) {
    std::string text;
    switch (readSettingsText(path, text)) {
    case SettingsRead::CannotOpen:
        messageBox(hwndMain, "读取文件时出错, 无法打开文件句柄", "提示", MB_OK | MB_ICONERROR);
        return;
    case SettingsRead::CannotRead:
        messageBox(hwndMain, "读取文件时出错", "提示", MB_OK | MB_ICONERROR);
        return;
    case SettingsRead::NotText:
        formatError();
        return;
    case SettingsRead::Ok:
        break;
    }
    JsonPtr root(cJSON_Parse(text.c_str()));
    LoadedSettings settings;
    if (!root || !cJSON_IsObject(root.get()) || !readSettings(root.get(), settings)) {
        formatError();
        return;
    }
    resetSettingsControls();
    if (!applySettings(settings)) {
        formatError();
        return;
    }
    stampSettingsFileUse(path);
}
