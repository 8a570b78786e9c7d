// Idle keep-alive connections, plain and TLS, kept by "host:port" so that
// runs of requests to one host reuse their TCP connections and TLS
// handshakes. Each pool has its own lock, held only while its lists change;
// connecting always happens outside it. An idle connection is handed out
// as it is (the last one released first); the HTTP client recovers from
// one the server has closed meanwhile.
#pragma once

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

SslSocket* ssl_socket_pool_get(const char* host, int port, std::string& error);
void ssl_socket_pool_release(const char* host, int port, SslSocket* ssl);
