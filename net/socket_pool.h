// Idle keep-alive connections, plain and TLS, kept by "host:port" so that
// runs of requests to one host reuse their TCP connections and TLS
// handshakes. Each pool has its own lock, held only while its list changes;
// connecting and closing always happen outside it. An idle connection is
// handed out as it is (the last one released first); the HTTP client
// recovers from one the server has closed meanwhile.
//
// Idle connections hold descriptors, so few are kept: a handful per key and
// a few dozen per pool, the oldest idle one closed first when more come,
// and none idle longer than socketPoolIdleMs (looked at whenever the pool
// is used).
#pragma once

#include <atomic>
#include <string>

struct SslSocket;

// The program entry calls, once and before any thread makes requests:
// socket_pool_init(), ssl_library_init(), ssl_socket_pool_init().
void socket_pool_init();
void ssl_socket_pool_init();

// An idle socket for host:port, else a new one (NO_SOCKET on failure, with
// the reason in error).
int socket_pool_get(const char* host, int port, std::string& error);
// Keeps socket as idle for host:port; a key the pool was never asked for
// keeps nothing, and the socket is closed.
void socket_pool_release(const char* host, int port, int socket);

// How long a connection may lie idle before its pool closes it: 30
// seconds. Tests shorten it.
extern std::atomic<int> socketPoolIdleMs;

// Closes every idle connection of both pools; connections in use are not
// touched. An item import calls it when it ends.
void socket_pool_close_idle();

SslSocket* ssl_socket_pool_get(const char* host, int port, std::string& error);
void ssl_socket_pool_release(const char* host, int port, SslSocket* ssl);
