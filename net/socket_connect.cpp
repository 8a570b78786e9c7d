#include "net/socket_connect.h"

#include "net/format_text.h"
#include "net/host_lookup.h"
#include "net/socket_watch.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

std::atomic<int> socketConnectTimeoutMs{10000};
std::atomic<int> socketIoTimeoutMs{10000};

namespace {

using Clock = std::chrono::steady_clock;

thread_local bool lastLookupFailed = false;

struct AddrInfoOwner {
    addrinfo* list = nullptr;
    ~AddrInfoOwner() {
        if (list) freeaddrinfo(list);
    }
};

void setIoTimeouts(int fd) {
    int ms = socketIoTimeoutMs.load();
    timeval tv{ms / 1000, (ms % 1000) * 1000};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    // The request head and a form body go out as two writes; do not let
    // the second wait for the first one's acknowledgement.
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

enum class Attempt { Connected, Failed, TimedOut };

// One non-blocking connect to one address, waiting until the deadline.
Attempt connectOne(int fd, const addrinfo* ai, Clock::time_point deadline, std::string& error) {
    if (connect(fd, ai->ai_addr, ai->ai_addrlen) == 0) return Attempt::Connected;
    if (errno != EINPROGRESS) {
        error = formatText("使用非阻塞方式连接发生错误，错误码:%d", errno);
        return Attempt::Failed;
    }
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    switch (socket_wait(fd, POLLOUT, static_cast<int>(left > 0 ? left : 0))) {
    case SocketWaitResult::Ready:
        break;
    case SocketWaitResult::TimedOut:
        error = "使用非阻塞方式连接超时。";
        return Attempt::TimedOut;
    case SocketWaitResult::Ended:
        error = socket_watch_failure();
        return Attempt::TimedOut;
    }
    // Writable also means "failed": the pending error tells which.
    int pending = 0;
    socklen_t len = sizeof pending;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &pending, &len) != 0) pending = errno;
    if (pending != 0) {
        error = formatText("使用非阻塞方式连接发生错误，错误码:%d", pending);
        return Attempt::Failed;
    }
    return Attempt::Connected;
}

} // namespace

void ignoreBrokenPipeSignal() {
    struct sigaction action{};
    action.sa_handler = SIG_IGN;
    sigemptyset(&action.sa_mask);
    sigaction(SIGPIPE, &action, nullptr);
}

void socket_close(int socket) {
    if (socket != NO_SOCKET) close(socket);
}

bool socket_connect_lookup_failed() { return lastLookupFailed; }

int socket_connect(const char* host, int port, std::string& error) {
    lastLookupFailed = false;
    if (host == nullptr) {
        lastLookupFailed = true;
        error = "域名 = null";
        return NO_SOCKET;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    hints.ai_flags = AI_NUMERICSERV;
    std::string service = std::to_string(port);
    AddrInfoOwner resolved;
    HostLookupResult lookup = *host == '\0' || port < 1 || port > 65535
                                  ? HostLookupResult::Failed
                                  : host_lookup(host, service.c_str(), hints, &resolved.list);
    if (lookup == HostLookupResult::Ended) {
        error = socket_watch_failure();
        return NO_SOCKET;
    }
    if (lookup == HostLookupResult::Failed) {
        lastLookupFailed = true;
        error = formatText("无法解析域名: %s", host);
        return NO_SOCKET;
    }

    auto deadline = Clock::now() + std::chrono::milliseconds(socketConnectTimeoutMs.load());
    for (const addrinfo* ai = resolved.list; ai; ai = ai->ai_next) {
        int fd = socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol);
        if (fd < 0) {
            int reason = errno;
            error = formatText("创建socket失败，错误码:%d (%s)", reason, std::strerror(reason));
            continue;
        }
        Attempt attempt = connectOne(fd, ai, deadline, error);
        if (attempt != Attempt::Connected) {
            close(fd);
            if (attempt == Attempt::TimedOut) return NO_SOCKET;
            continue;
        }
        int flags = fcntl(fd, F_GETFL);
        int result = flags < 0 ? flags : fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
        if (result < 0) {
            error = formatText("将socket重置为阻塞模式出错, 错误码:%d\n", result);
            close(fd);
            return NO_SOCKET;
        }
        setIoTimeouts(fd);
        return fd;
    }
    return NO_SOCKET;
}
