#include "platform/named_pipe.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

std::string temporaryFolder() {
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp == '/' ? tmp : "/tmp";
}

} // namespace

bool createNamedPipe(const std::string& name, NamedPipe* pipe, int* error) {
    std::string pattern = temporaryFolder() + "/tevrako-pipe-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        *error = errno;
        return false;
    }
    std::string path = pattern + "/" + name;
    if (mkfifo(path.c_str(), 0600) != 0) {
        *error = errno;
        rmdir(pattern.c_str());
        return false;
    }
    pipe->folder = pattern;
    pipe->path = path;
    *error = 0;
    return true;
}

int connectNamedPipe(const NamedPipe& pipe, int timeoutMs, const std::function<bool()>& giveUp,
                     int* error) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        // A non-blocking open for writing fails with ENXIO until a reader is there.
        int fd = open(pipe.path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            *error = 0;
            return fd;
        }
        if (errno != ENXIO && errno != EINTR) {
            *error = errno;
            return -1;
        }
        if (giveUp && giveUp()) {
            *error = ECANCELED;
            return -1;
        }
        if (Clock::now() >= deadline) {
            *error = ETIMEDOUT;
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void removeNamedPipe(NamedPipe* pipe) {
    if (!pipe->path.empty()) unlink(pipe->path.c_str());
    if (!pipe->folder.empty()) rmdir(pipe->folder.c_str());
    pipe->path.clear();
    pipe->folder.clear();
}
