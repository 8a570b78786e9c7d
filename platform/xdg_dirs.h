// The freedesktop base and user directories, standing in for the Windows
// special folders. Every call reads the environment afresh, so a changed
// $HOME or $XDG_* (tests, sandboxes) takes effect at once.
#pragma once

#include <string>

// $HOME, or the password database's home when it is unset.
std::string xdgHomeFolder();

// $XDG_CONFIG_HOME / $XDG_DATA_HOME when absolute, else ~/.config and
// ~/.local/share.
std::string xdgConfigHome();
std::string xdgDataHome();

// A user directory by its xdg-user-dirs name ("DESKTOP", "DOCUMENTS",
// "MUSIC", "PICTURES", "VIDEOS", "DOWNLOAD"), read from user-dirs.dirs in
// the config home. When it is not configured: ~/Desktop for the desktop if
// that folder exists, else the home folder (as xdg-user-dir answers).
std::string xdgUserDir(const std::string& name);
