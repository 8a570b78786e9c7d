#include "net/socket_watch.h"

#include "net/format_text.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kCheckInterval{100};

thread_local SocketWatch* currentWatch = nullptr;

} // namespace

std::atomic<bool> networkEnding{false};

SocketWatch::SocketWatch(std::chrono::milliseconds limit, KeepGoingCheck keepGoing)
    : deadline(Clock::now() + limit), nextCheck(Clock::now() + kCheckInterval), limit(limit), keepGoing(keepGoing),
      outer(currentWatch) {
    currentWatch = this;
}

SocketWatch::~SocketWatch() { currentWatch = outer; }

bool SocketWatch::allowsWaiting() {
    if (!failureText.empty()) return false;
    if (networkEnding.load()) {
        failureText = "软件正在退出，已停止下载";
        return false;
    }
    Clock::time_point now = Clock::now();
    if (now >= deadline) {
        long long seconds = (limit.count() + 999) / 1000;
        failureText = formatText("下载时间超过了 %lld 秒", seconds);
        return false;
    }
    if (now >= nextCheck) {
        nextCheck = now + kCheckInterval;
        if (keepGoing && !keepGoing()) {
            failureText = "已停止下载";
            return false;
        }
    }
    return true;
}

// Woken at every check, also without a keepGoing check: the program's end
// is looked at there.
Clock::time_point SocketWatch::waitUntil() const {
    return std::min(deadline, nextCheck);
}

SocketWaitResult socket_watch_wait(int timeoutMs, const WaitOnce& waitOnce) {
    const Clock::time_point until =
        timeoutMs < 0 ? Clock::time_point::max() : Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        SocketWatch* watch = currentWatch;
        if (watch && !watch->allowsWaiting()) {
            errno = ECANCELED;
            return SocketWaitResult::Ended;
        }
        if (Clock::now() >= until) {
            errno = EAGAIN;  // what a receive time-out reports
            return SocketWaitResult::TimedOut;
        }
        if (waitOnce(watch ? std::min(until, watch->waitUntil()) : until)) return SocketWaitResult::Ready;
    }
}

SocketWaitResult socket_wait(int fd, short events, int timeoutMs) {
    return socket_watch_wait(std::max(timeoutMs, 0), [fd, events](Clock::time_point end) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now()).count();
        pollfd pfd{fd, events, 0};
        int ready = poll(&pfd, 1, static_cast<int>(std::max<long long>(left, 0)));
        return ready > 0 || (ready < 0 && errno != EINTR);
    });
}

std::string socket_watch_failure() { return currentWatch ? currentWatch->failure() : std::string(); }

bool socket_watch_active() { return currentWatch != nullptr; }
