#include "ui/music_commands.h"

#include <cstdio>
#include <string>

#include "foundation/file_path.h"
#include "foundation/globals.h"
#include "foundation/shell.h"
#include "platform/command_ids.h"
#include "platform/file_dialog.h"
#include "platform/main_command.h"
#include "platform/message_box.h"
#include "platform/regular_file.h"
#include "platform/ui_thread.h"
#include "platform/window_controls.h"
#include "production/background_music.h"
#include "ui/command_router.h"

namespace {

constexpr char kAuditionText[] = "试听";
constexpr char kStopText[] = "停止";

bool auditionPlaying() { return getControlText(IDC_MUSIC_AUDITION) == kStopText; }

void stopAudition() { sendMainCommand(IDC_MUSIC_AUDITION, BN_CLICKED); }

// "下一首" is usable while a song follows the selected entry.
void enableNextButton() {
    enableControl(IDC_MUSIC_NEXT, comboGetCurSel(IDC_MUSIC) < comboGetCount(IDC_MUSIC) - 2);
}

// The local-file item: a chosen file joins the list (once) and is selected;
// a cancelled dialog, or a choice that is not a regular file (a FIFO would
// block whoever reads it), selects the previous choice again.
void chooseLocalMusic() {
    std::string folder = lastMusicFolder, file;
    if (!showOpenFileDialog(hwndMain, "选择背景音乐", {{"mp3音乐 (*.mp3)", "*.mp3"}}, folder, file)) {
        comboSetCurSel(IDC_MUSIC, lastMusicIndex);
        return;
    }
    lastMusicFolder = folder;
    if (!isRegularFile(file.c_str())) {
        messageBox(hwndMain, "选择的背景音乐文件无法读取，请重新选择", "提示", MB_OK | MB_ICONWARNING);
        comboSetCurSel(IDC_MUSIC, lastMusicIndex);
        return;
    }
    const int index = addMusicPath(file);
    comboSetCurSel(IDC_MUSIC, index);
    enableControl(IDC_MUSIC_AUDITION, 1);
    if (auditionPlaying()) stopAudition();
    lastMusicIndex = index;
}

void musicChosen(int, int code) {
    if (code != CBN_SELCHANGE) return;
    const int selected = comboGetCurSel(IDC_MUSIC);
    if (selected <= 0) {
        if (!auditionPlaying()) enableControl(IDC_MUSIC_AUDITION, 0);
        else stopAudition();
        lastMusicIndex = 0;
    } else if (selected == comboGetCount(IDC_MUSIC) - 1) {
        chooseLocalMusic();
    } else {
        enableControl(IDC_MUSIC_AUDITION, 1);
        if (auditionPlaying()) stopAudition();
        lastMusicIndex = selected;
    }
    enableNextButton();
    updateMusicLength();
}

void nextMusic(int, int) {
    const int selected = comboGetCurSel(IDC_MUSIC);
    if (selected >= comboGetCount(IDC_MUSIC) - 2) {
        messageBox(hwndMain, "没有下一首了", "提示", MB_OK | MB_ICONWARNING);
        return;
    }
    // The old song's end starts the new one.
    if (auditionPlaying()) auditionRestartPending = 1;
    comboSetCurSel(IDC_MUSIC, selected + 1);
    sendMainCommand(IDC_MUSIC, CBN_SELCHANGE);
}

void warnNoMusicPlayer() {
    messageBox(hwndMain, "无法试听：你的电脑上没有安装可以播放mp3文件的音乐播放器。", "提示",
               MB_OK | MB_ICONWARNING);
}

// The music cannot be played here: the desktop's player is asked instead.
void openInDesktopPlayer(const std::string& path) {
    if (!path.empty() && fileExists(path.c_str())) {
        if (shellOpenChecked(path.c_str(), [] { runOnUiThread(warnNoMusicPlayer); })) return;
        warnNoMusicPlayer();
        return;
    }
    char text[64];
    std::snprintf(text, sizeof text, "无法试听, 错误返回值: %d", 2);  // the file is not there
    messageBox(hwndMain, text, "错误", MB_OK | MB_ICONWARNING);
}

void audition(int, int) {
    if (auditionPlaying()) {
        // The end notice puts the button and the label back.
        musicPlayer().close();
        return;
    }
    const int selected = comboGetCurSel(IDC_MUSIC);
    const std::string path = musicPathAt(selected);
    if (path.empty() || !startMusicPlay(path)) {
        openInDesktopPlayer(path);
        return;
    }
    setControlText(IDC_MUSIC_AUDITION, kStopText);
    comboReplaceString(IDC_MUSIC, selected, comboGetItemText(IDC_MUSIC, selected) + kAuditionSuffix);
    auditionIndex = selected;
}

void previewMusic(int id, int) {
    switch (id) {
    case IDM_PREVIEW_MUSIC_PLAY:
        if (previewRunState == 1) playMusicAudition();
        break;
    case IDM_PREVIEW_MUSIC_REPLAY:
        musicPlayer().close();
        ++musicReplayCount;
        if (previewRunState == 1) playMusicAudition();
        break;
    case IDM_PREVIEW_MUSIC_PAUSE: musicPlayer().pause(); break;
    case IDM_PREVIEW_MUSIC_RESUME: musicPlayer().resume(); break;
    case IDM_PREVIEW_MUSIC_CLOSE: musicPlayer().close(); break;
    }
}

} // namespace

void onMusicNotice(AudioEnd code) {
    if (code != AudioEnd::Superseded) {
        if (code == AudioEnd::Successful) musicPlayer().close();
        removeAuditionSuffix();
        setControlText(IDC_MUSIC_AUDITION, kAuditionText);
        if (code == AudioEnd::Aborted && auditionRestartPending) {
            auditionRestartPending = 0;
            sendMainCommand(IDC_MUSIC_AUDITION, BN_CLICKED);
        }
    }
    if (comboGetCurSel(IDC_MUSIC) == 0) enableControl(IDC_MUSIC_AUDITION, 0);
}

void registerMusicCommands() {
    setCommandHandler(IDC_MUSIC, musicChosen);
    setCommandHandler(IDC_MUSIC_NEXT, nextMusic);
    setCommandHandler(IDC_MUSIC_AUDITION, audition);
    setCommandHandler(IDM_PREVIEW_MUSIC_PLAY, IDM_PREVIEW_MUSIC_CLOSE, previewMusic);
    setMusicNotifyHandler(onMusicNotice);
}
