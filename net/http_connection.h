// The connection one HTTP exchange runs over: a plain socket or a TLS
// socket, taken from its pool for keep-alive requests and made fresh
// otherwise.
#pragma once

#include "net/http_url.h"

#include <cstddef>
#include <string>

struct SslSocket;

struct HttpConnection {
    int socket;      // plain connection, or NO_SOCKET
    SslSocket* ssl;  // TLS connection, or null
};

// false (with the connect error) when no connection could be had.
bool http_connection_open(HttpConnection* connection, const HttpUrl& url, bool keepAlive, std::string& error);
// All bytes, or -1.
long http_connection_send(HttpConnection* connection, const char* data, size_t length);
// At most length bytes; 0 at the end of the stream, -1 on failure or time-out.
long http_connection_recv(HttpConnection* connection, char* buffer, size_t length);
void http_connection_close(HttpConnection* connection);
// Back to the pool of url's host and port, as idle.
void http_connection_release(HttpConnection* connection, const HttpUrl& url);
