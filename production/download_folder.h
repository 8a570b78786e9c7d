// Where this process's own files are kept: downloaded item pictures and
// the logo copies the encoder reads. A folder inside the work folder
// ("downloads-<pid>-XXXXXX"), made on first use. Closing the program removes it with everything in it, so
// another running copy of the program never loses its pictures, and the
// next start removes the folders that copies which ended without closing
// left behind.
#pragma once

#include <string>

constexpr int kDownloadFileNameSize = 32;

// This process's download folder, made on first use under workFolder (mode
// 0700) and checked again at every call without following links. Empty
// when workFolder is not set, is not a private folder of this user (see
// platform/private_folder.h) or the folder cannot be made.
std::string ensureDownloadFolder();

// Removes this process's download folder and the files in it (nothing when
// none was made). Call when the main window closes.
void removeDownloadFolder();

// Removes the download folders under workFolder whose process no longer
// runs, when they are real directories of this user; links are never
// followed. Call once at start-up, after the work folder is chosen.
void removeStaleDownloadFolders();

// A file name for a downloaded picture: the local time "%H-%M-%S", a '-',
// a random number from 100 to 999 and ".jpg" (such as "14-05-09-417.jpg"),
// whatever the picture's format. name holds kDownloadFileNameSize bytes.
void makeDownloadFileName(char name[kDownloadFileNameSize]);
