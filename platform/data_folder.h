// The program's folder in the user's data home, $XDG_DATA_HOME/Tevrako, and
// the folders in it: crash records, error log, the last choice of work
// folder, and songs, settings files, videos and the play page when the
// program folder cannot take them. What lies there is the user's alone; a
// folder there that another account made first, or a link in its place,
// would let that account plant crash records, read or feed the log and
// swap songs. So each of these folders is used only under the rule of
// platform/private_folder.h, as the work folder is, and passed over
// otherwise.
#pragma once

#include <string>

// $XDG_DATA_HOME/Tevrako, or subfolder (one name) inside it: made (mode
// 0700) when missing, closed to others when it is the user's own but open
// to them. Empty when it, or the data folder itself, is a link, another
// user's, not a folder, cannot be made or cannot be written.
std::string privateDataFolder(const std::string& subfolder = {});
