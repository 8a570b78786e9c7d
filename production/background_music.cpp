#include "production/background_music.h"

#include <atomic>
#include <cstdio>
#include <mutex>

#include "foundation/array_list.h"
#include "foundation/file_path.h"
#include "foundation/globals.h"
#include "foundation/heap_alloc.h"
#include "foundation/text.h"
#include "platform/command_ids.h"
#include "platform/regular_file.h"
#include "platform/status_bar.h"
#include "platform/window_controls.h"
#include "production/mp3_duration.h"
#include "production/program_folders.h"
#include "production/timing.h"

namespace {

std::atomic<MusicNotifyHandler> notifyHandler{nullptr};

void deliverMusicNotice(AudioEnd code) {
    MusicNotifyHandler handler = notifyHandler.load();
    if (handler) handler(code);
}

// Appends the full paths of the ".mp3" files of folder, sorted by name;
// only regular files (a FIFO would block whoever reads it).
void appendMusicFiles(ArrayList* paths, const std::string& folder) {
    ArrayList* names = arraylist_new_default();
    listFiles(nullptr, folder.c_str(), "*.mp3", names);
    for (int i = 0; i < names->count; ++i) {
        const std::string path = folder + "/" + static_cast<const char*>(arraylist_get(names, i));
        if (isRegularFile(path.c_str())) arraylist_add(paths, heapCopy(path.c_str()));
    }
    arraylist_free(names, 1);
}

} // namespace

std::string musicFolder() { return programDataFolder("mp3"); }

void buildMusicList() {
    ArrayList* paths = arraylist_new_default();
    arraylist_add(paths, heapCopy(""));
    const std::string shipped = programFolder + "/mp3";
    appendMusicFiles(paths, shipped);
    if (musicFolder() != shipped) appendMusicFiles(paths, musicFolder());
    arraylist_add(paths, heapCopy(""));
    {
        std::lock_guard<std::mutex> hold(musicPathListLock);
        if (musicPathList) {
            arraylist_free(paths, 1);
            return;
        }
        musicPathList = paths;
    }
    // The combo is filled outside the lock: its handlers may read the list.
    for (int i = 0; i < paths->count; ++i) {
        const char* path = static_cast<const char*>(arraylist_get(paths, i));
        comboAddString(IDC_MUSIC, i == paths->count - 1 ? kLocalMusicItem : getFileName(path));
    }
    comboSetCurSel(IDC_MUSIC, 0);
}

std::string musicPathAt(int index) {
    std::lock_guard<std::mutex> hold(musicPathListLock);
    if (!musicPathList || index < 0 || index >= musicPathList->count) return {};
    return static_cast<const char*>(arraylist_get(musicPathList, index));
}

int findMusicPath(const std::string& path) {
    std::lock_guard<std::mutex> hold(musicPathListLock);
    if (!musicPathList) return -1;
    return arraylist_index_of(musicPathList, path.c_str(), arraylist_equals_string);
}

int addMusicPath(const std::string& path) {
    if (path.empty()) return -1;
    int index;
    {
        std::lock_guard<std::mutex> hold(musicPathListLock);
        if (!musicPathList || musicPathList->count < 2) return -1;
        index = arraylist_index_of(musicPathList, path.c_str(), arraylist_equals_string);
        if (index >= 0) return index;
        index = musicPathList->count - 1;
        arraylist_insert(musicPathList, index, heapCopy(path.c_str()));
    }
    comboInsertString(IDC_MUSIC, index, getFileName(path.c_str()));
    return index;
}

void updateMusicLength() {
    const int selected = comboGetCurSel(IDC_MUSIC);
    const std::string path = selected > 0 ? musicPathAt(selected) : std::string();
    const float ms = path.empty() ? 0.0f : getMp3Duration(path.c_str());
    if (ms > 0.0f && str_ends_with_nocase(path.c_str(), ".mp3")) {
        musicSeconds = ms / 1000.0f;
        char text[64];
        std::snprintf(text, sizeof text, "音频长度: %0.2f秒", static_cast<double>(musicSeconds));
        setStatusText(2, text);
    } else {
        musicSeconds = 0.0f;
        setStatusText(2, "音频长度: 0秒");
    }
    syncPauseWithMusic();
}

AudioPlayer& musicPlayer() {
    static AudioPlayer* player = new AudioPlayer;  // lives as long as the process
    return *player;
}

MusicNotifyHandler setMusicNotifyHandler(MusicNotifyHandler handler) { return notifyHandler.exchange(handler); }

bool startMusicPlay(const std::string& path) {
    if (!musicPlayer().open(path)) return false;
    if (musicPlayer().play(deliverMusicNotice)) return true;
    musicPlayer().close();
    return false;
}

void playMusicAudition() {
    const int selected = comboGetCurSel(IDC_MUSIC);
    if (selected <= 0 || selected >= comboGetCount(IDC_MUSIC) - 1) return;
    const std::string path = musicPathAt(selected);
    if (path.empty() || !fileExists(path.c_str())) return;
    if (startMusicPlay(path)) musicAuditionPlaying = 1;
}

void removeAuditionSuffix() {
    if (auditionIndex < 0) return;
    const std::string label = comboGetItemText(IDC_MUSIC, auditionIndex);
    const std::size_t suffix = label.find(kAuditionSuffix);
    if (suffix != std::string::npos) comboReplaceString(IDC_MUSIC, auditionIndex, label.substr(0, suffix));
    auditionIndex = -1;
}
