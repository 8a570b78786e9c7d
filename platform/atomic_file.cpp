#include "platform/atomic_file.h"

#include "platform/private_folder.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// mkostemp's six random letters and digits after the target's name.
constexpr char kTemporarySuffix[] = ".XXXXXX";
constexpr std::size_t kRandomLength = sizeof kTemporarySuffix - 2;

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

// Whether name is "<target>.XXXXXX" for a target matching one of targets.
bool isTemporaryOf(const std::string& name, std::initializer_list<const char*> targets) {
    if (name.size() <= kRandomLength + 1) return false;
    const std::size_t dot = name.size() - kRandomLength - 1;
    if (name[dot] != '.') return false;
    for (std::size_t i = dot + 1; i < name.size(); ++i)
        if (!isAsciiAlnum(name[i])) return false;
    const std::string target = name.substr(0, dot);
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
    std::string temp = path + kTemporarySuffix;
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
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

void removeStaleAtomicTemporaries(const std::string& folder, std::initializer_list<const char*> targets) {
    int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folderFd < 0) return;
    for (const std::string& name : folderEntriesAt(folderFd))
        if (isTemporaryOf(name, targets) && isStaleFileOfOurs(folderFd, name.c_str()))
            ::unlinkat(folderFd, name.c_str(), 0);
    ::close(folderFd);
}
