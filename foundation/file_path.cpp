#include "foundation/file_path.h"

#include "foundation/charset.h"
#include "foundation/heap_alloc.h"
#include "foundation/shell.h"
#include "platform/message_box.h"
#include "platform/regular_file.h"
#include "platform/xdg_dirs.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <memory>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

const char* const kImageExtensions[] = {".jpg", ".jpeg", ".png", ".bmp", ".gif",
                                        ".tif", ".tiff", ".psd", ".tbi"};

// The listing stops no longer at an over-long path: it skips it, so the
// message leaves out the "软件因下列原因意外退出" line that ending the
// program would need.
const char kLongFileMessage[] =
    "文件路径长度大于 %d 个字符！\n\n当前文件路径长度：%d 个字符\n%s\n\n"
    "解决方案：修改文件路径长度，使其长度不超过 %d 个字符。\n\n"
    "提示：一个英文字母占 1 个字符，一个汉字占 2 个字符。";
const char kLongFolderMessage[] =
    "文件夹路径长度大于 %d 个字符！\n\n当前文件夹路径长度：%d 个字符\n%s\n\n"
    "解决方案：修改文件夹路径长度，使其长度不超过 %d 个字符。\n\n"
    "提示：一个英文字母占 1 个字符，一个汉字占 2 个字符。";

enum class EntryKind { File, Folder, Other };

struct FolderEntry {
    std::string name;
    EntryKind kind;
};

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

EntryKind kindOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return EntryKind::Other;
    if (S_ISDIR(st.st_mode)) return EntryKind::Folder;
    return S_ISREG(st.st_mode) ? EntryKind::File : EntryKind::Other;
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The entries of a folder (without "." and ".."), sorted by name; false
// when the folder cannot be read.
bool readFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    if (!dir) return false;
    while (const dirent* entry = ::readdir(dir.get())) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        entries.push_back({name, kindOf(joinPath(folder, name))});
    }
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return true;
}

std::string formatLimitMessage(const char* format, const std::string& path) {
    int length = gbk_length(path.c_str());
    int needed = std::snprintf(nullptr, 0, format, kMaxPathLength, length, path.c_str(), kMaxPathLength);
    std::string text(static_cast<std::size_t>(needed > 0 ? needed : 0) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, kMaxPathLength, length, path.c_str(), kMaxPathLength);
    text.resize(text.size() - 1);
    return text;
}

// Tells the user once per listing about a path over the limit, and opens
// the folder that holds it so it can be renamed.
struct LimitReporter {
    void* owner;
    const char* format;
    bool reported = false;

    bool withinLimit(const std::string& path, const std::string& folder) {
        if (gbk_length(path.c_str()) <= kMaxPathLength) return true;
        if (!reported) {
            reported = true;
            messageBox(owner, formatLimitMessage(format, path), "提示", MB_ICONERROR);
            shellOpen(folder.c_str());
        }
        return false;
    }
};

using FolderId = std::pair<dev_t, ino_t>;

bool folderId(const std::string& path, FolderId& id) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    id = {st.st_dev, st.st_ino};
    return true;
}

int listFoldersIn(const std::string& folder, bool recursive, ArrayList* list, LimitReporter& reporter,
                  std::set<FolderId>& visited) {
    std::vector<FolderEntry> entries;
    if (!readFolder(folder, entries)) return -1;
    for (const FolderEntry& entry : entries) {
        if (entry.kind != EntryKind::Folder || entry.name[0] == '.') continue;
        std::string path = joinPath(folder, entry.name);
        FolderId id;
        if (!folderId(path, id) || !visited.insert(id).second) continue;  // a link loop
        if (!reporter.withinLimit(path, folder)) continue;
        arraylist_add(list, heapCopy(path.c_str()));
        if (recursive) listFoldersIn(path, true, list, reporter, visited);
    }
    return 1;
}

bool copyOut(const std::string& text, char* buffer, std::size_t size) {
    if (!buffer || size == 0) return false;
    if (text.size() >= size) {
        buffer[0] = '\0';
        return false;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

// Status of path when it opens for reading as a regular file. Opening
// (rather than stat alone) keeps unreadable files out, as on Windows; a
// FIFO, device or socket is no file the program can read, and opening it
// does not block.
bool openedFileStatus(const char* path, struct stat& st) {
    int fd = openRegularFile(path);
    if (fd < 0) return false;
    bool file = ::fstat(fd, &st) == 0;
    ::close(fd);
    return file;
}

} // namespace

int fileExists(const char* path) {
    struct stat st {};
    return openedFileStatus(path, st) ? 1 : 0;
}

int isDirectory(const char* path) {
    return path && *path && kindOf(path) == EntryKind::Folder ? 1 : 0;
}

std::int64_t getFileSize(const char* path) {
    struct stat st {};
    return openedFileStatus(path, st) ? static_cast<std::int64_t>(st.st_size) : -1;
}

int isImageFileExt(const char* nameOrExtension) {
    if (!nameOrExtension) return 0;
    std::string lower = nameOrExtension;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    for (const char* extension : kImageExtensions) {
        std::size_t n = std::strlen(extension);
        if (lower.size() >= n && lower.compare(lower.size() - n, n, extension) == 0) return 1;
    }
    return 0;
}

int listImageFiles(void* owner, const char* folder, ArrayList* list) {
    if (!folder || !list) return -1;
    std::vector<FolderEntry> entries;
    if (!readFolder(folder, entries)) return -1;
    LimitReporter reporter{owner, kLongFileMessage};
    for (const FolderEntry& entry : entries) {
        std::size_t dot = entry.name.rfind('.');
        if (entry.kind != EntryKind::File || dot == std::string::npos) continue;
        if (!isImageFileExt(entry.name.c_str() + dot)) continue;
        std::string path = joinPath(folder, entry.name);
        if (reporter.withinLimit(path, folder)) arraylist_add(list, heapCopy(path.c_str()));
    }
    return 1;
}

int listSubFolders(void* owner, const char* folder, int recursive, ArrayList* list) {
    if (!folder || !list) return -1;
    LimitReporter reporter{owner, kLongFolderMessage};
    std::set<FolderId> visited;
    FolderId top;
    if (folderId(folder, top)) visited.insert(top);
    return listFoldersIn(folder, recursive != 0, list, reporter, visited);
}

int listFiles(void*, const char* folder, const char* pattern, ArrayList* list) {
    if (!folder || !pattern || !list) return -1;
    std::vector<FolderEntry> entries;
    if (!readFolder(folder, entries)) return -1;
    // "*.*" is the Windows way of saying every name.
    const char* glob = std::strcmp(pattern, "*.*") == 0 ? "*" : pattern;
    for (const FolderEntry& entry : entries) {
        if (entry.kind == EntryKind::Folder) continue;
        if (::fnmatch(glob, entry.name.c_str(), FNM_CASEFOLD) == 0)
            arraylist_add(list, heapCopy(entry.name.c_str()));
    }
    return 1;
}

int getSpecialFolderPath(int csidl, char* buffer, std::size_t size) {
    std::string folder;
    switch (csidl) {
    case CSIDL_DESKTOP:
    case CSIDL_DESKTOPDIRECTORY: folder = xdgUserDir("DESKTOP"); break;
    case CSIDL_PERSONAL: folder = xdgUserDir("DOCUMENTS"); break;
    case CSIDL_MYMUSIC: folder = xdgUserDir("MUSIC"); break;
    case CSIDL_MYVIDEO: folder = xdgUserDir("VIDEOS"); break;
    case CSIDL_MYPICTURES: folder = xdgUserDir("PICTURES"); break;
    case CSIDL_FONTS: folder = "/usr/share/fonts"; break;
    case CSIDL_APPDATA: folder = xdgConfigHome(); break;
    case CSIDL_PROFILE: folder = xdgHomeFolder(); break;
    default:
        if (buffer && size) buffer[0] = '\0';
        return 0;
    }
    return copyOut(folder, buffer, size) ? 1 : 0;
}

const char* getFileName(const char* path) {
    if (!path) return nullptr;
    const char* slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}

const char* getFileExt(const char* path) {
    if (!path) return nullptr;
    const char* slash = std::strrchr(path, '/');
    if (!slash) return nullptr;
    const char* dot = std::strrchr(slash, '.');
    return dot ? dot + 1 : nullptr;
}

char* pathToFileUrl(const char* path, char* output, std::size_t size) {
    if (!path || !output) return nullptr;
    static const char hex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const char* p = path; *p; ++p) {
        auto c = static_cast<unsigned char>(*p);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            std::strchr("-._~/", c)) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += hex[c >> 4];
            url += hex[c & 0xF];
        }
    }
    return copyOut(url, output, size) ? output : nullptr;
}
