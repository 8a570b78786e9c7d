#include "test_server.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <chrono>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <stdexcept>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

SSL_CTX* makeServerContext(const TestCertificate& cert) {
    SSL_CTX* ctx = SSL_CTX_new(TLS_server_method());
    BIO* certBio = BIO_new_mem_buf(cert.certPem.data(), static_cast<int>(cert.certPem.size()));
    X509* x509 = PEM_read_bio_X509(certBio, nullptr, nullptr, nullptr);
    BIO* keyBio = BIO_new_mem_buf(cert.keyPem.data(), static_cast<int>(cert.keyPem.size()));
    EVP_PKEY* key = PEM_read_bio_PrivateKey(keyBio, nullptr, nullptr, nullptr);
    if (!x509 || !key || SSL_CTX_use_certificate(ctx, x509) != 1 || SSL_CTX_use_PrivateKey(ctx, key) != 1) {
        throw std::runtime_error("test server certificate");
    }
    X509_free(x509);
    EVP_PKEY_free(key);
    BIO_free(certBio);
    BIO_free(keyBio);
    return ctx;
}

std::string lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

ServerRequest parseHead(const std::string& head) {
    ServerRequest request;
    request.head = head;
    size_t lineEnd = head.find("\r\n");
    std::string line = head.substr(0, lineEnd);
    size_t a = line.find(' ');
    size_t b = line.find(' ', a == std::string::npos ? a : a + 1);
    if (a != std::string::npos && b != std::string::npos) {
        request.method = line.substr(0, a);
        request.target = line.substr(a + 1, b - a - 1);
        request.version = line.substr(b + 1);
    }
    while (lineEnd != std::string::npos) {
        size_t start = lineEnd + 2;
        lineEnd = head.find("\r\n", start);
        std::string field = head.substr(start, lineEnd == std::string::npos ? std::string::npos : lineEnd - start);
        size_t colon = field.find(':');
        if (colon == std::string::npos) continue;
        size_t value = field.find_first_not_of(' ', colon + 1);
        request.fields[lower(field.substr(0, colon))] = value == std::string::npos ? "" : field.substr(value);
    }
    return request;
}

} // namespace

void ServerExchange::send(std::string_view bytes) {
    write(bytes);
}

void ServerExchange::sendSplit(std::string_view bytes, size_t pieceSize, int pauseMs) {
    for (size_t at = 0; at < bytes.size(); at += pieceSize) {
        write(bytes.substr(at, pieceSize));
        std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
    }
}

void ServerExchange::trickle(std::string_view bytes, int pauseMs) {
    const auto step = std::chrono::milliseconds(10);
    for (size_t at = 0; at < bytes.size() && !stopping; ++at) {
        write(bytes.substr(at, 1));
        for (auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(pauseMs);
             !stopping && std::chrono::steady_clock::now() < end;)
            std::this_thread::sleep_for(step);
    }
}

int TestServer::onServerName(ssl_st* ssl, int*, void* self) {
    auto* server = static_cast<TestServer*>(self);
    const char* name = SSL_get_servername(ssl, TLSEXT_NAMETYPE_host_name);
    std::lock_guard<std::mutex> lock(server->mutex);
    server->serverName = name ? name : "";
    return SSL_TLSEXT_ERR_OK;
}

TestServer::TestServer(ServerHandler h, ServerOptions o) : handler(std::move(h)), options(std::move(o)) {
    signal(SIGPIPE, SIG_IGN);  // a client that went away must not end the test
    if (options.certificate) {
        testAuthority();  // the client must trust the authority before it connects
        SSL_CTX* ctx = makeServerContext(*options.certificate);
        SSL_CTX_set_tlsext_servername_callback(ctx, onServerName);
        SSL_CTX_set_tlsext_servername_arg(ctx, this);
        sslContext = ctx;
    }
    listenFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int one = 1;
    setsockopt(listenFd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(listenFd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listenFd, options.neverAccept ? 0 : 64) != 0 ||
        getsockname(listenFd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("test server listen");
    }
    listenPort = ntohs(address.sin_port);
    if (options.neverAccept) {
        // A backlog of 0 holds one finished handshake; fill it so that the
        // kernel drops every further SYN and a client's connect hangs.
        int filler = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
        backlogFillers.push_back(filler);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return;
    }
    acceptor = std::thread([this] { acceptLoop(); });
}

TestServer::~TestServer() {
    stopping = true;
    shutdown(listenFd, SHUT_RDWR);
    if (acceptor.joinable()) acceptor.join();
    close(listenFd);
    for (int fd : backlogFillers) close(fd);
    dropConnections();
    std::vector<std::thread> running;
    {
        std::lock_guard<std::mutex> lock(mutex);
        running.swap(threads);
    }
    for (std::thread& t : running) t.join();
    if (sslContext) SSL_CTX_free(static_cast<SSL_CTX*>(sslContext));
}

std::string TestServer::url(const std::string& path, const std::string& host) const {
    return std::string(options.certificate ? "https://" : "http://") + host + ":" + std::to_string(listenPort) + path;
}

std::vector<ServerRequest> TestServer::seen() const {
    std::lock_guard<std::mutex> lock(mutex);
    return requestLog;
}

std::string TestServer::lastServerName() const {
    std::lock_guard<std::mutex> lock(mutex);
    return serverName;
}

void TestServer::dropConnections() {
    std::lock_guard<std::mutex> lock(mutex);
    for (int fd : openFds) shutdown(fd, SHUT_RDWR);
}

void TestServer::acceptLoop() {
    for (;;) {
        int fd = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            if (stopping) return;
            if (errno == EINTR || errno == ECONNABORTED) continue;
            return;
        }
        if (stopping) {
            close(fd);
            return;
        }
        int one = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        int number = ++connectionCount;
        std::lock_guard<std::mutex> lock(mutex);
        openFds.push_back(fd);
        threads.emplace_back([this, fd, number] { serve(fd, number); });
    }
}

void TestServer::serve(int fd, int number) {
    SSL* ssl = nullptr;
    bool ok = true;
    if (sslContext) {
        ssl = SSL_new(static_cast<SSL_CTX*>(sslContext));
        SSL_set_fd(ssl, fd);
        ok = SSL_accept(ssl) == 1;
        if (!ok) ERR_clear_error();
    }
    auto writeAll = [&](std::string_view bytes) {
        size_t sent = 0;
        while (sent < bytes.size()) {
            long n = ssl ? SSL_write(ssl, bytes.data() + sent, static_cast<int>(bytes.size() - sent))
                         : ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) return;
            sent += static_cast<size_t>(n);
        }
    };
    auto readSome = [&](std::string& into) {
        char buffer[16384];
        long n = ssl ? SSL_read(ssl, buffer, sizeof buffer) : ::recv(fd, buffer, sizeof buffer, 0);
        if (n > 0) into.append(buffer, static_cast<size_t>(n));
        return n > 0;
    };

    if (ok && !options.greeting.empty()) {
        std::string ignored;
        readSome(ignored);
        writeAll(options.greeting);
        ok = false;
    }
    std::string pending;
    int index = 0;
    while (ok) {
        size_t headEnd;
        while ((headEnd = pending.find("\r\n\r\n")) == std::string::npos) {
            if (!readSome(pending)) {
                ok = false;
                break;
            }
        }
        if (!ok) break;
        ServerRequest request = parseHead(pending.substr(0, headEnd));
        pending.erase(0, headEnd + 4);
        size_t bodyLength = 0;
        auto length = request.fields.find("content-length");
        if (length != request.fields.end()) bodyLength = std::stoul(length->second);
        while (pending.size() < bodyLength && readSome(pending)) {
        }
        request.body = pending.substr(0, bodyLength);
        pending.erase(0, std::min(bodyLength, pending.size()));
        request.connection = number;
        request.indexOnConnection = ++index;
        ++requestCount;
        {
            std::lock_guard<std::mutex> lock(mutex);
            requestLog.push_back(request);
        }
        ServerExchange exchange(request, writeAll, stopping);
        handler(exchange);
        if (exchange.closeAfter) break;
    }
    if (ssl) {
        SSL_shutdown(ssl);
        SSL_free(ssl);
        ERR_clear_error();
    }
    std::lock_guard<std::mutex> lock(mutex);
    std::erase(openFds, fd);
    close(fd);
}
