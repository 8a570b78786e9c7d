// The commands of the settings menu (settings files, their recent lists,
// the output preferences) and of the toolbar's shortcut, web and about
// buttons; the music commands are registered from here too.
#include <QAction>
#include <QMenu>

#include <cstdio>
#include <filesystem>
#include <string>

#include "foundation/file_path.h"
#include "foundation/globals.h"
#include "foundation/preferences.h"
#include "foundation/registry.h"
#include "foundation/shell.h"
#include "foundation/text.h"
#include "net/service_host.h"
#include "platform/command_ids.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "production/animation_settings.h"
#include "production/music_catalogue.h"
#include "production/settings_files.h"
#include "production/video_settings.h"
#include "ui/command_router.h"
#include "ui/main_commands.h"
#include "ui/main_window_contents.h"
#include "ui/music_commands.h"

namespace {

constexpr char kRecentPrefix[] = "加载 - ";

struct SettingsKind {
    const char* saveTitle;
    const char* loadTitle;
    FileFilter filter;
    const char* extension;  // without the dot
    int (*save)(const std::string& path);
    void (*load)(const std::string& path);
};

const SettingsKind kVideoSettings = {"保存当前视频设置到文件", "加载视频设置",
                                     {"视频设置文件 (*.sz)", "*.sz"}, "sz", saveVideoSettings,
                                     loadVideoSettings};
const SettingsKind kAnimationSettings = {"保存当前图片列表的动画设置到文件", "加载图片动画设置",
                                         {"动画设置文件 (*.dh)", "*.dh"}, "dh", saveAnimationSettings,
                                         loadAnimationSettings};

const SettingsKind& kindOf(int id) {
    const bool video = id == IDM_SAVE_VIDEO_SETTINGS || id == IDM_LOAD_VIDEO_SETTINGS ||
                       (id >= IDM_RECENT_VIDEO_FIRST && id <= IDM_RECENT_VIDEO_LAST);
    return video ? kVideoSettings : kAnimationSettings;
}

void saveSettings(int id, int) {
    const SettingsKind& kind = kindOf(id);
    std::string folder = settingsFolder();
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    if (!isDirectory(folder.c_str())) {
        messageBox(nullptr, "无法创建[sz]文件夹", "错误", MB_OK | MB_ICONERROR);
        return;
    }
    std::string path;
    if (!showSaveFileDialog(hwndMain, kind.saveTitle, {kind.filter}, kind.extension, folder, path)) return;
    const std::string extension = std::string(".") + kind.extension;
    if (!str_ends_with_nocase(path.c_str(), extension.c_str())) path += extension;
    if (kind.save(path)) stampAccessTime(path);
}

void loadSettings(int id, int) {
    const SettingsKind& kind = kindOf(id);
    std::string folder = settingsFolder(), path;
    if (showOpenFileDialog(hwndMain, kind.loadTitle, {kind.filter}, folder, path)) kind.load(path);
}

// A recent entry reads "加载 - name" and names a file of the settings folder.
void loadRecentSettings(int id, int) {
    QList<QAction*> actions = commandActions(settingsMenu(), id);
    if (actions.isEmpty()) return;
    const std::string text = actions.first()->text().toStdString();
    if (text.rfind(kRecentPrefix, 0) != 0) return;
    const std::string path = settingsFolder() + "/" + text.substr(sizeof kRecentPrefix - 1);
    if (!fileExists(path.c_str())) {
        messageBox(hwndMain, "文件:[" + path + "]不存在", "错误", MB_OK | MB_ICONERROR);
        return;
    }
    kindOf(id).load(path);
}

// Each choice stores its global and its preference at once.
void choosePreference(int id, int) {
    struct Choice {
        int* global;
        const char* valueName;
        int first;
    };
    const Choice choice = id <= IDM_FILE_NAME_FIRST_PICTURE ? Choice{&mp4DefaultFileName, "mp4_default_file_name", IDM_FILE_NAME_BLANK}
                          : id <= IDM_BITRATE_3M            ? Choice{&mp4VideoBitrate, "mp4_video_bitrate", IDM_BITRATE_DEFAULT}
                                                            : Choice{&videoBgFillColor, "video_bg_fill_color", IDM_BG_FILL_WHITE};
    *choice.global = id - choice.first;
    write_registry_dword(HKEY_CURRENT_USER, kPreferenceKey, choice.valueName, static_cast<unsigned>(*choice.global));
}

std::string programFile() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).string();
}

void desktopShortcut(int, int) {
    char desktop[1024] = "";
    getSpecialFolderPath(CSIDL_DESKTOP, desktop, sizeof desktop);
    const std::string link = std::string(desktop) + "/主图视频.desktop";
    const int result = createShortcut(programFile().c_str(), "", link.c_str(), "", 5, programFolder.c_str(), "", 0);
    if (result < 0) messageBox(hwndMain, "在桌面上创建快捷方式失败", "提示", MB_OK | MB_ICONERROR);
    else messageBox(hwndMain, "在桌面上成功创建了一个快捷方式", "提示", MB_OK | MB_ICONINFORMATION);
}

void openSupportPage(const char* page) {
    const std::string url = supportSiteUrl(page);
    if (!url.empty()) openUrlInBrowser(url.c_str());
}

// The site line closes the text only when there is a site to name.
void aboutBox(int, int) {
    char text[512];
    std::snprintf(text, sizeof text,
                  "%s V%0.1f\n\n\n制作淘宝网主图视频，输出视频格式：MP4。\n\n支持处理的图片格式：JPG, PNG, "
                  "GIF(静态), BMP, TBI。",
                  "Tevrako", static_cast<double>(programVersion));
    const std::string site = supportSiteUrl("");
    messageBox(hwndMain, site.empty() ? std::string(text) : text + ("\n\n\n官网：" + site), "关于",
               MB_OK | MB_ICONINFORMATION);
}

void helpButton(int id, int) {
    if (id == IDM_SUPPORT_SITE) openSupportPage("/");
    else if (id == IDM_USER_GUIDE) openSupportPage("/help.html");
    else if (id == IDM_UPLOAD_VIDEO) openSupportPage("/upload.html");
}

} // namespace

void registerMusicAndSettingsCommands() {
    setCommandHandler(IDM_DESKTOP_SHORTCUT, desktopShortcut);
    setCommandHandler(IDM_SUPPORT_SITE, helpButton);
    setCommandHandler(IDM_ABOUT, aboutBox);
    setCommandHandler(IDM_USER_GUIDE, IDM_UPLOAD_VIDEO, helpButton);
    setCommandHandler(IDM_SAVE_VIDEO_SETTINGS, saveSettings);
    setCommandHandler(IDM_LOAD_VIDEO_SETTINGS, loadSettings);
    setCommandHandler(IDM_SAVE_ANIMATION_SETTINGS, saveSettings);
    setCommandHandler(IDM_LOAD_ANIMATION_SETTINGS, loadSettings);
    setCommandHandler(IDM_RECENT_ANIMATION_FIRST, IDM_RECENT_ANIMATION_LAST, loadRecentSettings);
    setCommandHandler(IDM_RECENT_VIDEO_FIRST, IDM_RECENT_VIDEO_LAST, loadRecentSettings);
    setCommandHandler(IDM_FILE_NAME_BLANK, IDM_BG_FILL_BLACK, choosePreference);
    registerMusicCommands();
    startMusicDownload();
}
