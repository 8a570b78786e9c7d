// Host-name lookups that the thread's socket watch can end.
//
// getaddrinfo cannot be interrupted, and a resolver that does not answer
// holds it for many seconds. So it runs on a thread of its own while the
// caller waits within its watch (socket_watch.h): the watch's time limit
// and its stop check end the wait. A lookup the caller gave up on goes on
// alone and frees its own result when it finishes.
#pragma once

#include <atomic>
#include <netdb.h>

// The resolver a lookup calls: getaddrinfo. Tests put one in its place that
// does not answer; a list it returns is freed with freeaddrinfo.
using HostResolver = int (*)(const char* host, const char* service, const addrinfo* hints, addrinfo** list);
extern std::atomic<HostResolver> hostResolver;

enum class HostLookupResult { Found, Failed, Ended };

// Resolves host and service as getaddrinfo does. Found: *list holds at
// least one address (free it with freeaddrinfo). Failed: the name has no
// address or the resolver failed. Ended: the thread's watch ended the wait
// (socket_watch_failure says why). Without a watch it waits as long as the
// resolver takes.
HostLookupResult host_lookup(const char* host, const char* service, const addrinfo& hints, addrinfo** list);
