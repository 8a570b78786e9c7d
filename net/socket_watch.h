// A time limit and a way to stop for the network waits of one thread.
//
// While a SocketWatch lives, every wait of its thread for the network (the
// name lookup, the TCP connect, the TLS handshake, each read and write)
// ends as soon as the watch's time is up or its keepGoing check answers
// false. The check is called about ten times a second while a wait lasts,
// so it may let the windows repaint. A slow server that sends a byte now
// and then keeps each single read short, never the whole transfer: the
// watch bounds the whole.
// Waits of other threads are not touched, but for the program's end
// (networkEnding), which ends the watched waits of every thread.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <string>

// Set once when the program ends: every watched wait of every thread ends
// within a tenth of a second, and every later one at once, so no thread
// the program's end waits for is held by the network. Tests reset it.
extern std::atomic<bool> networkEnding;

using KeepGoingCheck = bool (*)();

class SocketWatch {
public:
    // keepGoing may be null (only the time limit applies).
    SocketWatch(std::chrono::milliseconds limit, KeepGoingCheck keepGoing);
    ~SocketWatch();
    SocketWatch(const SocketWatch&) = delete;
    SocketWatch& operator=(const SocketWatch&) = delete;

    // false once the time is up, the check said stop or the program ends
    // (failure() tells which); calls the check when it is due.
    bool allowsWaiting();
    // The latest moment a wait may last to: the time limit, or the next
    // look at the check and the program's end.
    std::chrono::steady_clock::time_point waitUntil() const;
    // Empty while the watch has ended no wait; else why, for the user.
    const std::string& failure() const { return failureText; }

private:
    std::chrono::steady_clock::time_point deadline;
    std::chrono::steady_clock::time_point nextCheck;
    std::chrono::milliseconds limit;
    KeepGoingCheck keepGoing;
    std::string failureText;
    SocketWatch* outer;
};

enum class SocketWaitResult { Ready, TimedOut, Ended };

// Waits until fd is ready for events (poll's POLLIN or POLLOUT), at most
// timeoutMs and within the thread's watch: Ended when the watch ended the
// wait. Readiness includes an error on the socket: the read or write that
// follows reports it.
SocketWaitResult socket_wait(int fd, short events, int timeoutMs);

// The wait under socket_wait, for anything else the thread waits on:
// waitOnce(end) waits at most until end (time_point::max() for no limit)
// and answers whether what it waits for has come. Ready once it has,
// TimedOut after timeoutMs (negative: no limit of its own), Ended when the
// thread's watch ended the wait.
using WaitOnce = std::function<bool(std::chrono::steady_clock::time_point end)>;
SocketWaitResult socket_watch_wait(int timeoutMs, const WaitOnce& waitOnce);

// Why the thread's watch ended a wait, or empty (also without a watch).
std::string socket_watch_failure();

// Whether the thread has a watch.
bool socket_watch_active();
