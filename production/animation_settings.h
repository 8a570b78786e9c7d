// Animation settings files (".dh"): the effect index of every picture in
// list order, in decimal, joined by ",", without spaces or a line end.
#pragma once

#include <string>

// The ".dh" text of the picture list; empty for an empty list.
std::string buildAnimationSettingsText();
// Writes it to path; 1, or 0 after an error box.
int saveAnimationSettings(const std::string& path);

// Gives picture i the effect of the file's token i, for as many pictures
// as both have; an index that names no effect gives "无动画", a token that
// is not a number leaves its picture alone. A file that cannot be read
// changes nothing, silently. A file of the settings folder is stamped as
// used.
void loadAnimationSettings(const std::string& path);
