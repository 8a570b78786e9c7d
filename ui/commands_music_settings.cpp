// The commands of the music, the settings files, the preferences of the
// settings menu and the help buttons. Each id has its handler here; they
// do nothing until their commands are built in this file.
#include "platform/command_ids.h"
#include "ui/command_router.h"
#include "ui/main_commands.h"

namespace {

void notYet(int, int) {}

} // namespace

void registerMusicAndSettingsCommands() {
    // Toolbar: desktop shortcut, support site, about box, user guide, upload page.
    setCommandHandler(IDM_DESKTOP_SHORTCUT, IDM_UPLOAD_VIDEO, notYet);
    // Settings files and their recent lists.
    setCommandHandler(IDM_SAVE_VIDEO_SETTINGS, IDM_RECENT_ANIMATION_LAST, notYet);
    setCommandHandler(IDM_RECENT_VIDEO_FIRST, IDM_RECENT_VIDEO_LAST, notYet);
    // Default file name, bitrate and background fill.
    setCommandHandler(IDM_FILE_NAME_BLANK, IDM_BG_FILL_BLACK, notYet);
    // Music combo, next song, audition.
    setCommandHandler(IDC_MUSIC, IDC_MUSIC_AUDITION, notYet);
    // The preview player's music commands.
    setCommandHandler(IDM_PREVIEW_MUSIC_PLAY, IDM_PREVIEW_MUSIC_CLOSE, notYet);
}
