// Ids of the main window's commands and controls that lower layers name
// when they read or change a control through window_controls.h. The user
// interface gives every control and action the same id.
#pragma once

enum : int {
    IDM_GIF_MODE = 35112,        // toolbar check button "GIF模式"

    IDC_PICTURE_LIST = 36100,    // the picture list view
    IDC_FONT_SIZE = 36112,       // caption font-size combo; the renderer reads the selected text
    IDC_LOGO_CHECK = 36117,      // "加图标"
    IDC_LOGO_POSITION = 36118,   // logo position combo, 8 entries
    IDC_LOGO_PATH = 36119,       // read-only edit with the logo file's path
    IDC_LOGO_CHOOSE = 36120,     // "选择..."
    IDC_VIDEO_SIZE = 36123,      // output size combo; entry 0 is "no size chosen"
    IDC_PAUSE_TIME = 36124,      // pause combo; the last entry follows the music
    IDC_MUSIC = 36125,           // music combo; entry 0 is "no music"
};
