#include "net/socket_pool.h"

#include "foundation/hash_map.h"
#include "foundation/heap_alloc.h"
#include "net/format_text.h"
#include "net/socket_connect.h"
#include "net/ssl_socket.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <mutex>
#include <vector>

std::atomic<int> socketPoolIdleMs{30000};

namespace {

using Clock = std::chrono::steady_clock;

// Enough for the few threads that talk to one host at once, while an
// import from hundreds of hosts leaves few descriptors open.
constexpr size_t kIdlePerKey = 8;
constexpr size_t kIdleInAll = 32;

struct IdleConnection {
    std::string key;
    void* connection;  // untyped: a socket or an SslSocket
    Clock::time_point since;
};

// One pool: the keys it was asked for, and its idle connections.
struct ConnectionPool {
    std::mutex lock;
    HashMap* map = nullptr;                     // "host:port" -> itself, for every key asked for
    std::deque<IdleConnection>* idle = nullptr;  // the longest idle first
    const char* missingInitText;
    void (*close)(void* connection);
};

void* socketAsElement(int socket) {
    return reinterpret_cast<void*>(static_cast<std::intptr_t>(socket));
}

int elementAsSocket(void* element) {
    return static_cast<int>(reinterpret_cast<std::intptr_t>(element));
}

ConnectionPool plainPool{{}, nullptr, nullptr, "map == null, 因没有调用 socket_pool_init()",
                         [](void* connection) { socket_close(elementAsSocket(connection)); }};
ConnectionPool sslPool{{}, nullptr, nullptr, "map == null, 因没有调用 ssl_socket_pool_init()",
                       [](void* connection) { ssl_socket_close(static_cast<SslSocket*>(connection)); }};

// The pool's map and list live as long as the process (threads may still
// make requests while it ends).
void poolInit(ConnectionPool& pool) {
    std::lock_guard<std::mutex> guard(pool.lock);
    if (!pool.map) pool.map = hashmap_new_default(hash_string, equals_string);
    if (!pool.idle) pool.idle = new std::deque<IdleConnection>;
}

std::string poolKey(const char* host, int port) {
    return formatText("%s:%d", host ? host : "(null)", port);
}

// Whether the pool was started; says so on standard output when not.
bool startedLocked(const ConnectionPool& pool) {
    if (!pool.map) std::printf("%s\n", pool.missingInitText);
    return pool.map != nullptr;
}

// Moves the connections idle for too long into closing; lock held.
void expireLocked(ConnectionPool& pool, std::vector<void*>& closing) {
    const auto limit = std::chrono::milliseconds(socketPoolIdleMs.load());
    const Clock::time_point now = Clock::now();
    while (!pool.idle->empty() && now - pool.idle->front().since >= limit) {
        closing.push_back(pool.idle->front().connection);
        pool.idle->pop_front();
    }
}

void closeAll(const ConnectionPool& pool, const std::vector<void*>& closing) {
    for (void* connection : closing) pool.close(connection);
}

// Takes the most recently released idle connection for the key into
// *connection, registering the key; false when there is none.
bool poolTake(ConnectionPool& pool, const char* host, int port, void** connection) {
    std::string key = poolKey(host, port);
    std::vector<void*> closing;
    bool found = false;
    {
        std::lock_guard<std::mutex> guard(pool.lock);
        if (!startedLocked(pool)) return false;
        if (!hashmap_get(pool.map, key.c_str())) {
            char* copy = heapCopy(key.c_str());
            hashmap_put(pool.map, copy, copy);
        }
        expireLocked(pool, closing);
        auto newest = std::find_if(pool.idle->rbegin(), pool.idle->rend(),
                                   [&key](const IdleConnection& idle) { return idle.key == key; });
        if (newest != pool.idle->rend()) {
            *connection = newest->connection;
            pool.idle->erase(std::next(newest).base());
            found = true;
        }
    }
    closeAll(pool, closing);
    return found;
}

// Keeps connection as idle, closing the longest idle ones beyond the caps;
// false when the key was never asked of the pool: the caller closes it.
bool poolGive(ConnectionPool& pool, const char* host, int port, void* connection) {
    std::string key = poolKey(host, port);
    std::vector<void*> closing;
    {
        std::lock_guard<std::mutex> guard(pool.lock);
        if (!startedLocked(pool) || !hashmap_get(pool.map, key.c_str())) return false;
        expireLocked(pool, closing);
        pool.idle->push_back({key, connection, Clock::now()});
        auto sameKey = [&key](const IdleConnection& idle) { return idle.key == key; };
        if (static_cast<size_t>(std::count_if(pool.idle->begin(), pool.idle->end(), sameKey)) > kIdlePerKey) {
            auto oldest = std::find_if(pool.idle->begin(), pool.idle->end(), sameKey);
            closing.push_back(oldest->connection);
            pool.idle->erase(oldest);
        }
        if (pool.idle->size() > kIdleInAll) {
            closing.push_back(pool.idle->front().connection);
            pool.idle->pop_front();
        }
    }
    closeAll(pool, closing);
    return true;
}

void poolCloseIdle(ConnectionPool& pool) {
    std::vector<void*> closing;
    {
        std::lock_guard<std::mutex> guard(pool.lock);
        if (!pool.idle) return;
        for (const IdleConnection& idle : *pool.idle) closing.push_back(idle.connection);
        pool.idle->clear();
    }
    closeAll(pool, closing);
}

} // namespace

void socket_pool_init() {
    ignoreBrokenPipeSignal();
    poolInit(plainPool);
}

void ssl_socket_pool_init() {
    poolInit(sslPool);
}

int socket_pool_get(const char* host, int port, std::string& error) {
    void* idle = nullptr;
    if (poolTake(plainPool, host, port, &idle)) return elementAsSocket(idle);
    return socket_connect(host, port, error);
}

void socket_pool_release(const char* host, int port, int socket) {
    if (socket == NO_SOCKET) return;
    if (!poolGive(plainPool, host, port, socketAsElement(socket))) socket_close(socket);
}

SslSocket* ssl_socket_pool_get(const char* host, int port, std::string& error) {
    void* idle = nullptr;
    if (poolTake(sslPool, host, port, &idle)) return static_cast<SslSocket*>(idle);
    return ssl_socket_connect(host, port, error);
}

void ssl_socket_pool_release(const char* host, int port, SslSocket* ssl) {
    if (!ssl) return;
    if (!poolGive(sslPool, host, port, ssl)) ssl_socket_close(ssl);
}

void socket_pool_close_idle() {
    poolCloseIdle(plainPool);
    poolCloseIdle(sslPool);
}
