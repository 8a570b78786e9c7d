// The folders the program works from: its own (beside the executable, with
// the encoder at tool/ffmpeg) and the work folder for downloaded pictures
// and logo copies.
#pragma once

#include <string>

// Sets programFolder from the running executable, ffmpegPath, and
// workFolder: a folder in the temporary directory when the program lies on
// the desktop, else "temp" in the program folder, or the user's data folder
// when the program folder is not writable. The work folder is created, and
// kept private: a candidate that is a link or another user's is passed
// over, one of this user's that others may reach gets mode 0700. Empty when
// no candidate can be used.
void locateProgramFolders();

// The two halves, for the start-up, which checks the installation between
// them: programFolder and ffmpegPath from the executable (or from folder
// when it is not empty)...
void locateProgramFolder(const std::string& folder = {});
// ...and workFolder from programFolder, created (or empty).
void makeWorkFolder();

// The program's folder name ("mp3", "sz") beside the executable, or under
// the user's data folder ($XDG_DATA_HOME/Tevrako) when the program folder
// is not writable or that folder in it is refused. Made here and kept
// private as the work folder is: a candidate that is a link or another
// user's is passed over. Empty when neither can be used.
std::string programDataFolder(const char* name);
