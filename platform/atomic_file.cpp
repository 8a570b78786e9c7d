#include "platform/atomic_file.h"

#include "platform/private_folder.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Between the target's name and the random part of a temporary's name.
constexpr char kMarker[] = ".tevrako-";
constexpr std::size_t kMarkerLength = sizeof kMarker - 1;
constexpr std::size_t kRandomLength = 6;
// Names are tried until one is free; a folder that keeps refusing is full
// of ours or hostile.
constexpr int kNameAttempts = 100;

// A write takes moments; a temporary file unchanged this long is left over.
constexpr auto kStaleAfter = std::chrono::minutes(10);

bool writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool isAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool randomPart(std::string& text) {
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char bytes[kRandomLength];
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) return false;
    text.clear();
    for (unsigned char byte : bytes) text += letters[byte % (sizeof letters - 1)];
    return true;
}

// "<folder>/.<name>.tevrako-" for path "<folder>/<name>", with the name cut
// between UTF-8 characters so that the whole file name stays within NAME_MAX.
std::string temporaryPrefix(const std::string& path, std::size_t extensionLength) {
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::string name = path.substr(nameStart);
    const std::size_t overhead = 1 + kMarkerLength + kRandomLength + extensionLength;
    if (overhead + name.size() > NAME_MAX) {
        std::size_t keep = NAME_MAX > overhead ? NAME_MAX - overhead : 0;
        while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
        name.resize(keep);
    }
    return path.substr(0, nameStart) + "." + name + kMarker;
}

// Creates the temporary exclusively; its descriptor, or -1 with errno set.
int createTemporary(const std::string& path, const std::string& extension, mode_t mode,
                    std::string* temporary) {
    const std::string prefix = temporaryPrefix(path, extension.size());
    std::string random;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        if (!randomPart(random)) return -1;
        *temporary = prefix + random + extension;
        int fd = ::open(temporary->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Whether name is ".<target>.tevrako-XXXXXX<extension>" for a target
// matching one of targets.
bool isTemporaryOf(const std::string& name, std::initializer_list<const char*> targets,
                   const std::string& extension) {
    if (name.size() <= 1 + kMarkerLength + kRandomLength + extension.size() || name[0] != '.') return false;
    if (name.compare(name.size() - extension.size(), extension.size(), extension) != 0) return false;
    const std::size_t randomStart = name.size() - extension.size() - kRandomLength;
    for (std::size_t i = randomStart; i < randomStart + kRandomLength; ++i)
        if (!isAsciiAlnum(name[i])) return false;
    const std::size_t markerStart = randomStart - kMarkerLength;
    if (name.compare(markerStart, kMarkerLength, kMarker) != 0) return false;
    const std::string target = name.substr(1, markerStart - 1);
    for (const char* pattern : targets)
        if (::fnmatch(pattern, target.c_str(), 0) == 0) return true;
    return false;
}

bool isStaleFileOfOurs(int folderFd, const char* name) {
    struct stat info {};
    if (::fstatat(folderFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (!S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) return false;
    const auto changed = std::chrono::system_clock::from_time_t(info.st_mtim.tv_sec);
    return changed < std::chrono::system_clock::now() - kStaleAfter;
}

} // namespace

bool writeFileAtomically(const std::string& path, const std::string& content, mode_t mode,
                         AtomicWriteFailure* failure) {
    AtomicWriteFailure ignored;
    if (!failure) failure = &ignored;
    *failure = AtomicWriteFailure::Create;
    std::string temp;
    int fd = createTemporary(path, "", 0600, &temp);
    if (fd < 0) return false;
    *failure = AtomicWriteFailure::Write;
    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, content) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(temp.c_str(), path.c_str()) == 0) {
        *failure = AtomicWriteFailure::None;
        return true;
    }
    ::unlink(temp.c_str());
    return false;
}

std::string createTemporaryBeside(const std::string& path, const std::string& extension, mode_t mode) {
    std::string temporary;
    int fd = createTemporary(path, extension, mode, &temporary);
    if (fd < 0) return {};
    ::close(fd);
    return temporary;
}

void removeStaleAtomicTemporaries(const std::string& folder, std::initializer_list<const char*> targets,
                                  const std::string& extension) {
    int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folderFd < 0) return;
    for (const std::string& name : folderEntriesAt(folderFd))
        if (isTemporaryOf(name, targets, extension) && isStaleFileOfOurs(folderFd, name.c_str()))
            ::unlinkat(folderFd, name.c_str(), 0);
    ::close(folderFd);
}
