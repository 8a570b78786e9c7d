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
    DIR* folder = fdopendir(fd);
    if (!folder) {
        close(fd);
        return false;
    }
    while (const dirent* entry = readdir(folder)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
        struct stat child {};
        if (fstatat(fd, entry->d_name, &child, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISDIR(child.st_mode)) removeFolderTreeAt(fd, entry->d_name);
        else unlinkat(fd, entry->d_name, 0);
    }
    closedir(folder);
    // A name swapped for a link meanwhile is not a directory: this fails.
    return unlinkat(parentFd, name, AT_REMOVEDIR) == 0;
}
