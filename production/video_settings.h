// Video settings files (".sz"): the state of the caption, logo, size,
// pause and music controls as one JSON object, written with cJSON's
// formatted printer in a fixed key order.
//
// Loading applies the values as the user would: each control is set and
// then sent its own notification, so the main window's handlers follow.
#pragma once

#include <string>

// The formatted JSON text of the controls' current state.
std::string buildVideoSettingsJson();
// Writes it to path; 1, or 0 after an error box.
int saveVideoSettings(const std::string& path);

// Puts the controls back to their start state.
void resetSettingsControls();
// Applies the file at path. A file that cannot be read, does not parse or
// holds a value out of its range is refused with a box before anything
// changes; otherwise the controls are reset and the values applied in key
// order, and a missing key stops there with a box. Whatever the program
// saves loads back: no caption position (-1) and a font index the font
// combo lacks (the first font is kept) are values, not damage. A file of
// the settings folder that loaded is stamped as used.
void loadVideoSettings(const std::string& path);
