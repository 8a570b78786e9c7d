// The main window's music commands: the music combo (with the item that
// picks a local file), "下一首", the audition button "试听"/"停止", the
// preview player's music commands, and the end notices of the music
// player, which put the audition button and the combo's label back.
#pragma once

#include "platform/audio_player.h"

// Registers the handlers of the music combo, the next and audition buttons
// and the preview's music commands, and receives the music player's notices.
void registerMusicCommands();

// What the main window does when a play of the music player ends.
void onMusicNotice(AudioEnd code);
