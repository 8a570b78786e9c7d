#include "foundation/preferences.h"

#include <cstdio>
#include <filesystem>
#include <unistd.h>

#include "foundation/file_path.h"
#include "foundation/globals.h"
#include "foundation/registry.h"
#include "platform/data_folder.h"

namespace {

// Any folder the file dialogs accept: at most kMaxPathLength long in GBK,
// where UTF-8 takes at most twice as many bytes.
constexpr unsigned kFolderCapacity = 2 * kMaxPathLength + 1;
constexpr unsigned kUserIdCapacity = 33;
constexpr int kFallbackSize = 800;

struct FolderPreference {
    const char* name;
    std::string* folder;
};
const FolderPreference kFolders[] = {
    {"file_dlg_choose_image", &lastImageFolder},
    {"file_dlg_choose_mp3", &lastMusicFolder},
    {"file_dlg_choose_save_video", &lastVideoFolder},
    {"file_dlg_choose_logo", &lastLogoFolder},
};

struct ChoicePreference {
    const char* name;
    int* value;
};
const ChoicePreference kChoices[] = {
    {"video_bg_fill_color", &videoBgFillColor},
    {"mp4_default_file_name", &mp4DefaultFileName},
    {"mp4_video_bitrate", &mp4VideoBitrate},
};

struct MarginPreference {
    const char* name;
    float CaptionMargins::*margin;
    float fallback;
};
const MarginPreference kMargins[] = {
    {"watermark_margin_center_bottom", &CaptionMargins::centerBottom, 0.15001f},
    {"watermark_margin_left", &CaptionMargins::left, 0.06001f},
    {"watermark_margin_right", &CaptionMargins::right, 0.06001f},
    {"watermark_margin_top", &CaptionMargins::top, 0.06001f},
    {"watermark_margin_bottom", &CaptionMargins::bottom, 0.06001f},
};

bool readText(const char* name, unsigned capacity, std::string* value) {
    char buffer[kFolderCapacity] = "";
    unsigned size = capacity;
    if (!read_registry_string(HKEY_CURRENT_USER, kPreferenceKey, name, buffer, &size)) return false;
    *value = buffer;
    return true;
}

bool readNumber(const char* name, int* value) {
    return read_registry_dword(HKEY_CURRENT_USER, kPreferenceKey, name, value) == 1;
}

bool makeFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return isDirectory(folder.c_str()) && access(folder.c_str(), W_OK | X_OK) == 0;
}

bool inRange(int value, int low, int high) {
    // Compared as unsigned after taking the low bound off, so negative
    // values fail too.
    return static_cast<unsigned>(value - low) <= static_cast<unsigned>(high - low);
}

void readFolders(const std::string& desktopFolder) {
    for (const FolderPreference& preference : kFolders) {
        std::string folder;
        if (readText(preference.name, kFolderCapacity, &folder) && isDirectory(folder.c_str())) {
            *preference.folder = folder;
            continue;
        }
        *preference.folder =
            preference.folder == &lastVideoFolder ? defaultVideoFolder() : desktopFolder;
    }
    if (!isDirectory(lastVideoFolder.c_str())) makeFolder(lastVideoFolder);
}

void readUserId() {
    std::string id;
    if (!readText("usid", kUserIdCapacity, &id)) id.clear();
    std::snprintf(userId, sizeof userId, "%s", id.c_str());
}

void readChoices() {
    for (const ChoicePreference& preference : kChoices) {
        if (!readNumber(preference.name, preference.value))
            write_registry_dword(HKEY_CURRENT_USER, kPreferenceKey, preference.name, 0);
    }
}

void readMargins() {
    for (const MarginPreference& preference : kMargins) {
        int stored = 0;
        if (readNumber(preference.name, &stored))
            captionMargins.*preference.margin = marginFromStored(stored, preference.fallback);
    }
}

void readDefaultSize() {
    int width = kFallbackSize;
    int height = kFallbackSize;
    readNumber("mp4_default_width", &width);
    bool hasHeight = readNumber("mp4_default_height", &height);
    checkDefaultVideoSize(width, height, hasHeight, &defaultVideoWidth, &defaultVideoHeight);
}

} // namespace

std::string defaultVideoFolder() {
    std::string folder = programFolder + "/我的主图视频";
    if (makeFolder(folder)) return folder;
    return privateDataFolder("我的主图视频");
}

void readPreferences(const std::string& desktopFolder) {
    readFolders(desktopFolder);
    readUserId();
    readChoices();
    readMargins();
    readDefaultSize();
}

float marginFromStored(int stored, float fallback) {
    float fraction = static_cast<float>(stored / 10000.0 + 0.000001);
    return fraction <= 0 || fraction >= 0.5f ? fallback : fraction;
}

void checkDefaultVideoSize(int width, int height, bool hasHeight, int* outWidth, int* outHeight) {
    if (!hasHeight) height = kFallbackSize;
    bool valid = inRange(width, 256, 3840) && width % 2 == 0;
    if (hasHeight) valid = valid && inRange(height, 256, 2160) && height % 2 == 0;
    *outWidth = valid ? width : kFallbackSize;
    *outHeight = valid ? height : kFallbackSize;
}

void writeDialogFolders() {
    for (const FolderPreference& preference : kFolders) {
        const std::string& folder = *preference.folder;
        write_registry_string(HKEY_CURRENT_USER, kPreferenceKey, preference.name, folder.c_str(),
                              static_cast<unsigned>(folder.size() + 1));
    }
}

void writeDefaultVideoSize(int width, int height) {
    write_registry_dword(HKEY_CURRENT_USER, kPreferenceKey, "mp4_default_width", width);
    write_registry_dword(HKEY_CURRENT_USER, kPreferenceKey, "mp4_default_height", height);
}
