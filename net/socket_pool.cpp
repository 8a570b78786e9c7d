#include "net/socket_pool.h"

#include "foundation/hash_map.h"
#include "foundation/heap_alloc.h"
#include "foundation/linked_list.h"
#include "net/format_text.h"
#include "net/socket_connect.h"
#include "net/ssl_socket.h"

#include <cstdint>
#include <cstdio>
#include <mutex>

namespace {

// One pool: "host:port" -> LinkedList of idle connections (untyped).
struct ConnectionPool {
    std::mutex lock;
    HashMap* map = nullptr;
    const char* missingInitText;
};

ConnectionPool plainPool{{}, nullptr, "map == null, 因没有调用 socket_pool_init()"};
ConnectionPool sslPool{{}, nullptr, "map == null, 因没有调用 ssl_socket_pool_init()"};

void poolInit(ConnectionPool& pool) {
    std::lock_guard<std::mutex> guard(pool.lock);
    if (!pool.map) pool.map = hashmap_new_default(hash_string, equals_string);
}

std::string poolKey(const char* host, int port) {
    return formatText("%s:%d", host ? host : "(null)", port);
}

// The idle list of a key; call with the pool's lock held. With registerKey
// an absent key is entered with an empty list. Null when the pool was never
// started, or the key is absent and not registered.
LinkedList* idleListLocked(ConnectionPool& pool, const std::string& key, bool registerKey) {
    if (!pool.map) {
        std::printf("%s\n", pool.missingInitText);
        return nullptr;
    }
    auto* idle = static_cast<LinkedList*>(hashmap_get(pool.map, key.c_str()));
    if (!idle && registerKey) hashmap_put(pool.map, heapCopy(key.c_str()), idle = linkedlist_new());
    return idle;
}

// Takes the most recently released idle connection for the key into
// *connection; false when there is none.
bool poolTake(ConnectionPool& pool, const char* host, int port, void** connection) {
    std::string key = poolKey(host, port);
    std::lock_guard<std::mutex> guard(pool.lock);
    LinkedList* idle = idleListLocked(pool, key, true);
    if (!idle || linkedlist_size(idle) <= 0) return false;
    *connection = linkedlist_remove_last(idle);
    return true;
}

// false when the key was never asked of the pool: the caller closes it.
bool poolGive(ConnectionPool& pool, const char* host, int port, void* connection) {
    std::string key = poolKey(host, port);
    std::lock_guard<std::mutex> guard(pool.lock);
    LinkedList* idle = idleListLocked(pool, key, false);
    if (!idle) return false;
    linkedlist_add(idle, connection);
    return true;
}

void* socketAsElement(int socket) {
    return reinterpret_cast<void*>(static_cast<std::intptr_t>(socket));
}

int elementAsSocket(void* element) {
    return static_cast<int>(reinterpret_cast<std::intptr_t>(element));
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
