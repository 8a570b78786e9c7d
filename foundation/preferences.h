// The user's preferences, kept between runs under the key
// "SOFTWARE\Vessoranthe" of the preference store: the dialog folders, the
// user id, the background fill, the default file name, the bitrate, the
// caption margins and the default output size. They are read once at
// start-up into the globals; the menus and the margin dialog write their
// values when changed, and closing the main window writes the folders and
// the chosen size.
//
// Failures are silent: a value that cannot be read takes its default, a
// write that fails is ignored.
#pragma once

#include <string>

constexpr char kPreferenceKey[] = "SOFTWARE\\Vessoranthe";

// The folder the save dialog for videos starts in by default:
// "我的主图视频" in the program folder, or under the user's data folder
// when the program folder is not writable (kept private there, see
// platform/data_folder.h; empty when that is refused). Created when missing.
std::string defaultVideoFolder();

// Reads every preference into its global, in this order: the four dialog
// folders (an unreadable or vanished folder becomes desktopFolder, the
// video folder defaultVideoFolder()), usid, video_bg_fill_color,
// mp4_default_file_name and mp4_video_bitrate (missing ones are written
// back as 0), the five caption margins and the default size.
void readPreferences(const std::string& desktopFolder);

// A stored margin (fraction x 10000) as the fraction in use: v / 10000 +
// 0.000001 in single precision; outside (0, 0.5) the fallback.
float marginFromStored(int stored, float fallback);

// The remembered size, checked: a width outside 256 to 3840, a height
// outside 256 to 2160 or an odd side gives 800 x 800. A missing height
// (hasHeight false) counts as 800 and only the width is checked.
void checkDefaultVideoSize(int width, int height, bool hasHeight, int* outWidth, int* outHeight);

// Writes the four dialog folders.
void writeDialogFolders();
// Writes width x height as the default output size.
void writeDefaultVideoSize(int width, int height);
