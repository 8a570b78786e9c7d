// Files, folders and paths: existence and size tests, the picture-file
// extension rule, folder listings under the path limit, special folders and
// the parts of a file name.
//
// The path limit is measured on a path's GBK length (a Chinese character
// counts two): the length the path has in GBK, as Chinese Windows programs
// store it, so the messages that state the limit stay true.
#pragma once

#include "foundation/array_list.h"

#include <cstddef>
#include <cstdint>

constexpr int kMaxPathLength = 259;

// 1 when path names a regular file that can be opened for reading, else 0
// (a folder, FIFO, device or socket is no file).
int fileExists(const char* path);
// 1 when path names a folder (following symbolic links), else 0.
int isDirectory(const char* path);
// Size in bytes of a readable regular file; -1 for anything else.
std::int64_t getFileSize(const char* path);

// 1 when the name or extension ends with .jpg .jpeg .png .bmp .gif .tif
// .tiff .psd or .tbi, ignoring case.
int isImageFileExt(const char* nameOrExtension);

// Listings append heap texts that the caller frees (arraylist_free with the
// flag set), sorted by name. An entry whose full path is over the limit is
// skipped; the first one met is reported in a box owned by owner and its
// folder is opened in the file manager. Each returns 1, or -1 when the
// folder cannot be read.

// Full paths of the picture files directly in folder.
int listImageFiles(void* owner, const char* folder, ArrayList* list);
// Full paths of the sub-folders whose names do not begin with "." (and of
// theirs, depth first, when recursive is set); a folder reached twice
// through symbolic links is listed once.
int listSubFolders(void* owner, const char* folder, int recursive, ArrayList* list);
// Bare names of the entries that are not folders and match pattern (shell
// wildcards, ignoring case; "*.*" matches every name). No length check.
int listFiles(void* window, const char* folder, const char* pattern, ArrayList* list);

// Special folders by their Windows CSIDL numbers, from the XDG directories.
enum : int {
    CSIDL_DESKTOP = 0x0000,
    CSIDL_PERSONAL = 0x0005,
    CSIDL_MYMUSIC = 0x000d,
    CSIDL_MYVIDEO = 0x000e,
    CSIDL_DESKTOPDIRECTORY = 0x0010,
    CSIDL_FONTS = 0x0014,
    CSIDL_APPDATA = 0x001a,
    CSIDL_MYPICTURES = 0x0027,
    CSIDL_PROFILE = 0x0028,
};
// Writes the folder into buffer (size bytes); 1 on success, 0 for an
// unknown CSIDL or a buffer too small (buffer then holds an empty text).
int getSpecialFolderPath(int csidl, char* buffer, std::size_t size);

// Pointer just after the last "/", or the whole text when there is none.
const char* getFileName(const char* path);
inline char* getFileName(char* path) {
    return const_cast<char*>(getFileName(static_cast<const char*>(path)));
}
// Pointer just after the last "." of the last part (the extension without
// its dot); null when the path has no "/" or its last part has no ".".
const char* getFileExt(const char* path);
inline char* getFileExt(char* path) {
    return const_cast<char*>(getFileExt(static_cast<const char*>(path)));
}

// "file://" address of an absolute path, with the bytes outside the
// unreserved set and "/" percent-encoded; returns output, or null when it
// does not fit in size bytes.
char* pathToFileUrl(const char* path, char* output, std::size_t size);
