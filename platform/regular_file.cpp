#include "platform/regular_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void report(RegularFileError* error, RegularFileError value) {
    if (error) *error = value;
}

RegularFileError openFailure(int openErrno) {
    switch (openErrno) {
    case ENOENT:
    case ENOTDIR:
    case ELOOP:  // O_NOFOLLOW met a link
        return RegularFileError::Missing;
    case EISDIR:
    case ENXIO:  // a socket, or a device with no driver
    case ENODEV:
        return RegularFileError::NotRegular;
    default:
        return RegularFileError::Unreadable;
    }
}

// O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
// Once the descriptor is known to be a regular file the flag is cleared, so
// reads behave as on any file.
int openChecked(int folderFd, const char* name, FollowLinks follow, RegularFileError* error) {
    report(error, RegularFileError::Missing);
    if (!name || !*name) return -1;
    int flags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    if (follow == FollowLinks::No) flags |= O_NOFOLLOW;
    int fd;
    do fd = ::openat(folderFd, name, flags);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        report(error, openFailure(errno));
        return -1;
    }
    struct stat status {};
    RegularFileError failure = RegularFileError::None;
    if (::fstat(fd, &status) != 0)
        failure = RegularFileError::Unreadable;
    else if (!S_ISREG(status.st_mode))
        failure = RegularFileError::NotRegular;
    else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        failure = RegularFileError::Unreadable;
    if (failure != RegularFileError::None) {
        int reason = failure == RegularFileError::NotRegular ? EINVAL : errno;
        report(error, failure);
        ::close(fd);
        errno = reason;
        return -1;
    }
    report(error, RegularFileError::None);
    return fd;
}

bool readBounded(int fd, std::size_t maxBytes, std::string& content, RegularFileError* error) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        report(error, RegularFileError::Unreadable);
        return false;
    }
    if (static_cast<std::uint64_t>(status.st_size) > maxBytes) {
        report(error, RegularFileError::TooLarge);
        return false;
    }
    content.reserve(static_cast<std::size_t>(status.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            report(error, RegularFileError::Unreadable);
            return false;
        }
        if (n == 0) return true;
        if (content.size() + static_cast<std::size_t>(n) > maxBytes) {
            report(error, RegularFileError::TooLarge);
            return false;
        }
        content.append(buffer, static_cast<std::size_t>(n));
    }
}

bool readFrom(int fd, std::size_t maxBytes, std::string& content, RegularFileError* error) {
    content.clear();
    if (fd < 0) return false;
    bool ok = readBounded(fd, maxBytes, content, error);
    ::close(fd);
    if (!ok) content.clear();
    return ok;
}

} // namespace

int openRegularFile(const char* path, FollowLinks follow, RegularFileError* error) {
    return openChecked(AT_FDCWD, path, follow, error);
}

int openRegularFileAt(int folderFd, const char* name, FollowLinks follow, RegularFileError* error) {
    return openChecked(folderFd, name, follow, error);
}

std::FILE* openRegularFileStream(const char* path, FollowLinks follow, RegularFileError* error) {
    int fd = openChecked(AT_FDCWD, path, follow, error);
    if (fd < 0) return nullptr;
    std::FILE* file = ::fdopen(fd, "rb");
    if (!file) {
        int reason = errno;
        report(error, RegularFileError::Unreadable);
        ::close(fd);
        errno = reason;
    }
    return file;
}

bool isRegularFile(const char* path, FollowLinks follow, RegularFileError* error) {
    int fd = openChecked(AT_FDCWD, path, follow, error);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

bool readRegularFile(const char* path, std::size_t maxBytes, std::string& content, FollowLinks follow,
                     RegularFileError* error) {
    return readFrom(openChecked(AT_FDCWD, path, follow, error), maxBytes, content, error);
}

bool readRegularFileAt(int folderFd, const char* name, std::size_t maxBytes, std::string& content,
                       FollowLinks follow, RegularFileError* error) {
    return readFrom(openChecked(folderFd, name, follow, error), maxBytes, content, error);
}
