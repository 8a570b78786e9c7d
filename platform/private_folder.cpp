#include "platform/private_folder.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t kOthersAccess = S_IRWXG | S_IRWXO;

bool ownedDirectory(const struct stat& info) {
    return S_ISDIR(info.st_mode) && info.st_uid == geteuid();
}

} // namespace

int openPrivateFolder(const std::string& folder, bool create) {
    if (folder.empty()) return -1;
    if (create && mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return -1;
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat info {};
    bool usable = fstat(fd, &info) == 0 && ownedDirectory(info);
    if (usable && (info.st_mode & kOthersAccess) != 0) usable = fchmod(fd, info.st_mode & 0700) == 0;
    if (usable) return fd;
    close(fd);
    return -1;
}

bool ensureWritablePrivateFolder(const std::string& folder) {
    int fd = openPrivateFolder(folder, true);
    if (fd < 0) return false;
    bool writable = faccessat(fd, ".", W_OK | X_OK, 0) == 0;
    close(fd);
    return writable;
}

bool isPrivateFolderAt(int parentFd, const char* name) {
    struct stat info {};
    return fstatat(parentFd, name, &info, AT_SYMLINK_NOFOLLOW) == 0 && ownedDirectory(info) &&
           (info.st_mode & kOthersAccess) == 0;
}

bool removeFolderTreeAt(int parentFd, const char* name) {
    int fd = openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !ownedDirectory(info)) {
        close(fd);
        return false;
    }
    for (const std::string& entry : folderEntriesAt(fd)) {
        struct stat child {};
        if (fstatat(fd, entry.c_str(), &child, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISDIR(child.st_mode)) removeFolderTreeAt(fd, entry.c_str());
        else unlinkat(fd, entry.c_str(), 0);
    }
    close(fd);
    // A name swapped for a link meanwhile is not a directory: this fails.
    return unlinkat(parentFd, name, AT_REMOVEDIR) == 0;
}

std::vector<std::string> folderEntriesAt(int folderFd) {
    std::vector<std::string> names;
    // The listing reads through a descriptor of its own, which it closes.
    int listFd = fcntl(folderFd, F_DUPFD_CLOEXEC, 0);
    DIR* folder = listFd >= 0 ? fdopendir(listFd) : nullptr;
    if (!folder) {
        if (listFd >= 0) close(listFd);
        return names;
    }
    rewinddir(folder);  // the offset is shared with folderFd: start from the top
    while (const dirent* entry = readdir(folder))
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.emplace_back(entry->d_name);
    closedir(folder);
    return names;
}
