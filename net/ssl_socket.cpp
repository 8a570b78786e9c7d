#include "net/ssl_socket.h"

#include "net/socket_connect.h"
#include "net/socket_watch.h"

#include <arpa/inet.h>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>

namespace {

std::once_flag contextOnce;
SSL_CTX* clientContext = nullptr;

// One verifying context for every connection: loading the system store
// once is what keeps a handshake cheap.
SSL_CTX* sharedClientContext() {
    std::call_once(contextOnce, [] {
        ssl_library_init();
        SSL_CTX* ctx = SSL_CTX_new(TLS_client_method());
        if (!ctx) return;
        SSL_CTX_set_verify(ctx, SSL_VERIFY_PEER, nullptr);
        SSL_CTX_set_default_verify_paths(ctx);
        SSL_CTX_set_mode(ctx, SSL_MODE_AUTO_RETRY);
        // Servers that end a body with the connection often skip the TLS
        // close alert; such an end reads as an end, a time-out as a failure.
        SSL_CTX_set_options(ctx, SSL_OP_IGNORE_UNEXPECTED_EOF);
        clientContext = ctx;
    });
    if (clientContext) SSL_CTX_up_ref(clientContext);
    return clientContext;
}

bool isIpLiteral(const char* host) {
    unsigned char address[sizeof(in6_addr)];
    return inet_pton(AF_INET, host, address) == 1 || inet_pton(AF_INET6, host, address) == 1;
}

void reportHandshakeFailure(SSL* ssl) {
    std::printf("BIO_do_connect(ssl_bio) 错误:\n");
    std::fflush(stdout);
    long verify = ssl ? SSL_get_verify_result(ssl) : X509_V_OK;
    if (verify != X509_V_OK) {
        std::fprintf(stderr, "certificate: %s\n", X509_verify_cert_error_string(verify));
    }
    ERR_print_errors_fp(stderr);
}

// TLS runs over a non-blocking socket: every wait for the peer goes through
// socket_wait, so the I/O time-out and the thread's socket watch bound each
// read however slowly the bytes of a record arrive.
bool setNonBlocking(int fd) {
    int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

// After a TLS call that wants to be retried: waits for what it wants. false
// when the call failed for good, or the wait ended without the socket ready.
bool waitToRetry(BIO* bio, int fd) {
    if (!BIO_should_retry(bio)) return false;
    short events = BIO_should_write(bio) ? POLLOUT : POLLIN;
    return socket_wait(fd, events, socketIoTimeoutMs.load()) == SocketWaitResult::Ready;
}

bool handshake(BIO* bio, int fd) {
    for (;;) {
        if (BIO_do_handshake(bio) > 0) return true;
        if (!waitToRetry(bio, fd)) return false;
    }
}

} // namespace

void ssl_library_init() {
    OPENSSL_init_ssl(OPENSSL_INIT_LOAD_SSL_STRINGS | OPENSSL_INIT_LOAD_CRYPTO_STRINGS, nullptr);
    // TLS writes go through write(2), which raises SIGPIPE on a dead peer.
    ignoreBrokenPipeSignal();
}

SslSocket* ssl_socket_connect(const char* host, int port, std::string& error) {
    int fd = socket_connect(host, port, error);
    if (fd == NO_SOCKET) return nullptr;

    SSL_CTX* ctx = sharedClientContext();
    BIO* bio = ctx ? BIO_new_ssl(ctx, 1) : nullptr;
    SSL* ssl = nullptr;
    if (bio) BIO_get_ssl(bio, &ssl);
    bool ready = ssl != nullptr;
    if (ready) {
        SSL_set_mode(ssl, SSL_MODE_AUTO_RETRY);
        if (isIpLiteral(host)) {
            ready = X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl), host) == 1;
        } else {
            ready = SSL_set_tlsext_host_name(ssl, host) == 1 && SSL_set1_host(ssl, host) == 1;
        }
    }
    if (ready) ready = SSL_set_fd(ssl, fd) == 1 && setNonBlocking(fd);
    if (ready && handshake(bio, fd)) return new SslSocket{bio, ctx, fd};

    error = "BIO_do_connect(ssl_bio) Error.";
    reportHandshakeFailure(ssl);
    if (bio) BIO_free_all(bio);
    socket_close(fd);
    if (ctx) SSL_CTX_free(ctx);
    return nullptr;
}

void ssl_socket_close(SslSocket* ssl) {
    if (!ssl) return;
    BIO_ssl_shutdown(ssl->bio);
    BIO_free_all(ssl->bio);
    socket_close(ssl->socket);
    SSL_CTX_free(ssl->ctx);
    delete ssl;
    // Nothing of this connection's errors may surface in a later call.
    ERR_clear_error();
}

long ssl_socket_write(SslSocket* ssl, const char* data, size_t length) {
    size_t sent = 0;
    while (sent < length) {
        size_t part = length - sent;
        if (part > INT_MAX) part = INT_MAX;
        int n = BIO_write(ssl->bio, data + sent, static_cast<int>(part));
        if (n <= 0) {
            if (waitToRetry(ssl->bio, ssl->socket)) continue;
            ERR_clear_error();
            return -1;
        }
        sent += static_cast<size_t>(n);
    }
    return static_cast<long>(sent);
}

long ssl_socket_read(SslSocket* ssl, char* buffer, size_t length) {
    if (length > INT_MAX) length = INT_MAX;
    for (;;) {
        int n = BIO_read(ssl->bio, buffer, static_cast<int>(length));
        if (n > 0) return n;
        if (BIO_should_retry(ssl->bio)) {
            if (waitToRetry(ssl->bio, ssl->socket)) continue;
            n = -1;
        }
        if (n < 0) ERR_clear_error();
        return n;
    }
}
