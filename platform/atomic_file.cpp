#include "platform/atomic_file.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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

} // namespace

bool writeFileAtomically(const std::string& path, const std::string& content, mode_t mode,
                         AtomicWriteFailure* failure) {
    AtomicWriteFailure ignored;
    if (!failure) failure = &ignored;
    *failure = AtomicWriteFailure::Create;
    std::string temp = path + ".XXXXXX";
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
