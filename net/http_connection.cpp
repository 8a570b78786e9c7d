#include "net/http_connection.h"

#include "net/socket_connect.h"
#include "net/socket_pool.h"
#include "net/socket_watch.h"
#include "net/ssl_socket.h"

#include <cerrno>
#include <poll.h>
#include <sys/socket.h>

bool http_connection_open(HttpConnection* connection, const HttpUrl& url, bool keepAlive, std::string& error) {
    *connection = {NO_SOCKET, nullptr};
    if (url.secure) {
        connection->ssl = keepAlive ? ssl_socket_pool_get(url.host, url.port, error)
                                    : ssl_socket_connect(url.host, url.port, error);
        return connection->ssl != nullptr;
    }
    connection->socket = keepAlive ? socket_pool_get(url.host, url.port, error)
                                   : socket_connect(url.host, url.port, error);
    return connection->socket != NO_SOCKET;
}

long http_connection_send(HttpConnection* connection, const char* data, size_t length) {
    if (connection->ssl) return ssl_socket_write(connection->ssl, data, length);
    size_t sent = 0;
    while (sent < length) {
        ssize_t n = send(connection->socket, data + sent, length - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return -1;
        sent += static_cast<size_t>(n);
    }
    return static_cast<long>(sent);
}

long http_connection_recv(HttpConnection* connection, char* buffer, size_t length) {
    if (connection->ssl) return ssl_socket_read(connection->ssl, buffer, length);
    // Waiting first keeps the read within the thread's socket watch.
    if (socket_wait(connection->socket, POLLIN, socketIoTimeoutMs.load()) != SocketWaitResult::Ready) return -1;
    for (;;) {
        ssize_t n = recv(connection->socket, buffer, length, 0);
        if (n < 0 && errno == EINTR) continue;
        return static_cast<long>(n);
    }
}

void http_connection_close(HttpConnection* connection) {
    if (connection->ssl) ssl_socket_close(connection->ssl);
    socket_close(connection->socket);
    *connection = {NO_SOCKET, nullptr};
}

void http_connection_release(HttpConnection* connection, const HttpUrl& url) {
    if (connection->ssl) {
        ssl_socket_pool_release(url.host, url.port, connection->ssl);
    } else {
        socket_pool_release(url.host, url.port, connection->socket);
    }
    *connection = {NO_SOCKET, nullptr};
}
