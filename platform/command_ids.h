// Ids of the main window's commands and controls. Every toolbar button,
// menu item and control carries its id; the command router dispatches on
// it, and lower layers name controls by it when they read or change them
// through window_controls.h.
#pragma once

enum : int {
    // Toolbar
    IDM_ADD_PICTURES = 35100,
    IDM_LOAD_ITEM_PICTURES = 35101,
    IDM_REMOVE_PICTURES = 35102,
    IDM_MOVE_LEFT = 35103,
    IDM_MOVE_RIGHT = 35104,
    IDM_PREVIEW_VIDEO = 35105,
    IDM_MAKE_VIDEO = 35106,
    IDM_DESKTOP_SHORTCUT = 35107,
    IDM_SUPPORT_SITE = 35108,
    IDM_ABOUT = 35109,
    IDM_USER_GUIDE = 35110,
    IDM_UPLOAD_VIDEO = 35111,
    IDM_GIF_MODE = 35112,        // check button "GIF模式"
    IDM_SETTINGS_MENU = 35113,   // drop-down "软件设置"

    // The picture list's context menu
    IDM_CTX_ADD_PICTURES = 35210,
    IDM_CTX_REMOVE_SELECTED = 35211,
    IDM_REMOVE_ALL = 35212,      // also Ctrl+D
    IDM_RANDOM_EFFECTS = 35213,
    IDM_APPLY_EFFECT_TO_ALL = 35214,
    IDM_CAPTION_EDGE_DIAGONAL = 35215,
    IDM_CAPTION_EDGE_CROSS = 35216,
    IDM_CAPTION_INSET_DIAGONAL = 35217,
    IDM_CAPTION_INSET_CROSS = 35218,
    IDM_CAPTION_CENTER_BOTTOM = 35219,
    IDM_PREVIEW_PICTURE = 35220, // also F5
    IDM_CTX_LOAD_ITEM_PICTURES = 35221,

    // The settings menu
    IDM_SAVE_VIDEO_SETTINGS = 35600,
    IDM_LOAD_VIDEO_SETTINGS = 35601,
    IDM_SAVE_ANIMATION_SETTINGS = 35602,
    IDM_LOAD_ANIMATION_SETTINGS = 35603,
    IDM_RECENT_ANIMATION_FIRST = 35604,
    IDM_RECENT_ANIMATION_LAST = 35613,
    IDM_RECENT_VIDEO_FIRST = 35615,
    IDM_RECENT_VIDEO_LAST = 35624,
    IDM_FILE_NAME_BLANK = 35700,
    IDM_FILE_NAME_TIME = 35701,
    IDM_FILE_NAME_FIRST_PICTURE = 35702,
    IDM_BITRATE_DEFAULT = 35703,
    IDM_BITRATE_1M = 35704,
    IDM_BITRATE_2M = 35705,
    IDM_BITRATE_3M = 35706,
    IDM_BG_FILL_WHITE = 35707,
    IDM_BG_FILL_BLACK = 35708,
    IDM_CAPTION_MARGINS = 35709,

    // Controls
    IDC_PICTURE_LIST = 36100,    // the picture list view
    IDC_EMPTY_LIST_HINT = 36101,
    IDC_CAPTION_GROUP = 36102,
    IDC_LOGO_GROUP = 36103,
    IDC_OUTPUT_GROUP = 36104,
    IDC_CAPTION_PANEL = 36105,
    IDC_LOGO_PANEL = 36106,
    IDC_OUTPUT_PANEL = 36107,
    IDC_CAPTION_CHECK = 36108,   // "加文字"
    IDC_CAPTION_CHECK2 = 36109,  // "加文字(天猫版)", hidden
    IDC_CAPTION_POSITION = 36110,
    IDC_CAPTION_FONT = 36111,
    IDC_FONT_SIZE = 36112,       // caption font-size combo; read when frames are rendered
    IDC_CAPTION_COLOR = 36113,
    IDC_CAPTION_TEXT = 36114,
    IDC_CAPTION_HELP = 36115,
    IDC_CAPTION_SAMPLE = 36116,  // "文字示例"
    IDC_LOGO_CHECK = 36117,      // "加图标"
    IDC_LOGO_POSITION = 36118,   // logo position combo, 8 entries
    IDC_LOGO_PATH = 36119,       // read-only edit with the logo file's path
    IDC_LOGO_CHOOSE = 36120,     // "选择..."
    IDC_LOGO_DOWNLOAD = 36121,   // "下载素材"
    IDC_LOGO_HELP = 36122,
    IDC_VIDEO_SIZE = 36123,      // output size combo; entry 0 is "no size chosen"
    IDC_PAUSE_TIME = 36124,      // pause combo; the last entry follows the music
    IDC_MUSIC = 36125,           // music combo; entry 0 is "no music"
    IDC_MUSIC_NEXT = 36126,      // "下一首"
    IDC_MUSIC_AUDITION = 36127,  // "试听"
    IDC_MAKE_VIDEO = 36128,      // "生成视频"
    IDC_HOVER_PANEL = 36129,
    IDC_ITEM_EFFECT = 36130,     // the per-picture effect combo on the hover panel

    // Sent by the preview player
    IDM_PREVIEW_MUSIC_PLAY = 36131,
    IDM_PREVIEW_MUSIC_REPLAY = 36132,
    IDM_PREVIEW_MUSIC_PAUSE = 36133,
    IDM_PREVIEW_MUSIC_RESUME = 36134,
    IDM_PREVIEW_MUSIC_CLOSE = 36135,
};
