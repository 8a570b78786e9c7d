// TLS client connections over the program's own sockets. The server's
// certificate is verified against the system store (SSL_CERT_FILE and
// SSL_CERT_DIR override it) and must name the host that was asked for.
#pragma once

#include <cstddef>
#include <string>

typedef struct bio_st BIO;
typedef struct ssl_ctx_st SSL_CTX;

struct SslSocket {
    BIO* bio;      // TLS filter over the socket; every read and write goes through it
    SSL_CTX* ctx;  // a reference to the shared client context
    int socket;    // the connected TCP socket underneath
};

// Connects and completes the TLS handshake (with server name indication).
// Returns a new SslSocket, or null with the reason in error.
SslSocket* ssl_socket_connect(const char* host, int port, std::string& error);

// Shuts the TLS connection down and frees everything it holds.
void ssl_socket_close(SslSocket* ssl);

// Starts the TLS library; the program entry calls it once, between the two
// pools' initialisations.
void ssl_library_init();

// Writes all bytes; returns the count, or -1 on failure.
long ssl_socket_write(SslSocket* ssl, const char* data, size_t length);

// Reads at most length bytes; returns the count, 0 at the end of the
// stream, or -1 on failure or time-out.
long ssl_socket_read(SslSocket* ssl, char* buffer, size_t length);
