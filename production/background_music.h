// The background music: the music combo and musicPathList beside it, the
// length of the chosen music, and its audition through the one music
// player of the program.
//
// musicPathList holds one path per combo entry: entry 0 (no music) and the
// last entry (the item for choosing a local file) are empty texts. Every
// function here runs on the user-interface thread; the catalogue thread
// adds music through runOnUiThread.
#pragma once

#include <string>

#include "platform/audio_player.h"

// The combo's last item.
inline constexpr const char* kLocalMusicItem = "选择本地背景音乐...";
// Added to the label of the combo entry whose music is being auditioned.
inline constexpr const char* kAuditionSuffix = " - 试听中";

// Where the music files are kept and downloaded to: "mp3" in the program
// folder (or in the user's data folder, see programDataFolder).
std::string musicFolder();

// Fills musicPathList and the music combo: the empty entry, the ".mp3"
// regular files of the music folder (and of the program folder's own "mp3" folder
// when that is another one), and the local-file item; the empty entry is
// selected. Made once, when the main window is built.
void buildMusicList();

// The path of combo entry index; empty for the first and last entries and
// outside the list.
std::string musicPathAt(int index);
// The entry whose path is exactly path, or -1.
int findMusicPath(const std::string& path);
// The entry of path, added first when it is not in the list: the path goes
// before the local-file entry, its file name into the combo before the
// last item. -1 for an empty path or when the list does not exist.
int addMusicPath(const std::string& path);

// Status-bar part 2 and musicSeconds for the selected entry, then the
// pause fitted to the music.
void updateMusicLength();

// The one music player (the device the audition and the preview share).
AudioPlayer& musicPlayer();
// Receives the end notice of every play started here; installed by the
// main window.
using MusicNotifyHandler = void (*)(AudioEnd code);
MusicNotifyHandler setMusicNotifyHandler(MusicNotifyHandler handler);
// Opens path in the music player and plays it with the end notice; false
// when either fails (the player is then closed).
bool startMusicPlay(const std::string& path);

// Plays the selected music, for the preview: nothing for the no-music and
// local-file entries or a file that no longer exists.
void playMusicAudition();
// Takes " - 试听中" off the auditioned entry's label; auditionIndex becomes -1.
void removeAuditionSuffix();
