#include "production/frame_pipe.h"

#include <cerrno>
#include <chrono>
#include <poll.h>
#include <unistd.h>

#include "foundation/globals.h"

namespace {
constexpr auto kStalledAfterStop = std::chrono::seconds(2);
} // namespace

int writeFramePipe(void* handle, const void* bytes, std::uint32_t length, std::uint32_t* written,
                   void*) {
    auto* pipe = static_cast<FramePipe*>(handle);
    if (written) *written = 0;
    if (!pipe || pipe->fd < 0) return 0;
    const char* next = static_cast<const char*>(bytes);
    std::uint32_t left = length;
    auto lastProgress = std::chrono::steady_clock::now();
    while (left > 0) {
        ssize_t n = write(pipe->fd, next, left);
        if (n > 0) {
            next += n;
            left -= static_cast<std::uint32_t>(n);
            if (written) *written += static_cast<std::uint32_t>(n);
            lastProgress = std::chrono::steady_clock::now();
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return 0;  // EPIPE: the encoder is gone
        if (stopFlag.load() && std::chrono::steady_clock::now() - lastProgress > kStalledAfterStop)
            return 0;
        pollfd waiting = {pipe->fd, POLLOUT, 0};
        poll(&waiting, 1, 100);
    }
    return 1;
}
