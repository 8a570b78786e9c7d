#include "net/host_lookup.h"

#include "net/socket_watch.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

std::atomic<HostResolver> hostResolver{getaddrinfo};

namespace {

// One lookup, shared by the thread that runs it and the caller that waits
// for it; whichever lets go last frees it, with the list when the caller
// did not take it. Everything the resolver reads is copied here, so a
// caller that gave up leaves nothing behind that the lookup still uses.
struct PendingLookup {
    std::string host;
    std::string service;
    addrinfo hints;
    std::mutex lock;
    std::condition_variable finished;
    bool done = false;  // status and list are set
    int status = EAI_SYSTEM;
    addrinfo* list = nullptr;

    ~PendingLookup() {
        if (list) freeaddrinfo(list);
    }
};

void runLookup(const std::shared_ptr<PendingLookup>& lookup, HostResolver resolve) {
    addrinfo* list = nullptr;
    int status = resolve(lookup->host.c_str(), lookup->service.c_str(), &lookup->hints, &list);
    std::lock_guard<std::mutex> guard(lookup->lock);
    lookup->status = status;
    lookup->list = status == 0 ? list : nullptr;
    lookup->done = true;
    lookup->finished.notify_one();
}

} // namespace

HostLookupResult host_lookup(const char* host, const char* service, const addrinfo& hints, addrinfo** list) {
    *list = nullptr;
    HostResolver resolve = hostResolver.load();
    auto lookup = std::make_shared<PendingLookup>();
    lookup->host = host;
    lookup->service = service;
    lookup->hints = hints;
    try {
        std::thread(runLookup, lookup, resolve).detach();
    } catch (const std::system_error&) {
        runLookup(lookup, resolve);  // no thread to be had: look up here, beyond the watch's reach
    }

    SocketWaitResult waited = socket_watch_wait(-1, [&lookup](std::chrono::steady_clock::time_point end) {
        std::unique_lock<std::mutex> hold(lookup->lock);
        auto done = [&lookup] { return lookup->done; };
        if (end == std::chrono::steady_clock::time_point::max()) {
            lookup->finished.wait(hold, done);
        } else {
            lookup->finished.wait_until(hold, end, done);
        }
        return lookup->done;
    });
    if (waited != SocketWaitResult::Ready) return HostLookupResult::Ended;
    std::lock_guard<std::mutex> guard(lookup->lock);
    if (!lookup->list) return HostLookupResult::Failed;
    *list = lookup->list;
    lookup->list = nullptr;
    return HostLookupResult::Found;
}
