// A scripted HTTP server for the network tests: it listens on 127.0.0.1,
// serves each connection on its own thread, hands every parsed request to
// the test's handler (which sends raw bytes, split or whole, and may close),
// and counts connections and requests. With a certificate it speaks TLS and
// records the server name the client indicated.
#pragma once

#include "test_certificates.h"

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

struct ServerRequest {
    std::string head;                            // request line and fields, without the blank line
    std::string method, target, version;
    std::map<std::string, std::string> fields;  // names in lower case
    std::string body;
    int connection = 0;  // 1-based number of the connection it came on
    int indexOnConnection = 0;  // 1 for the first request of its connection
};

class ServerExchange {
public:
    const ServerRequest& request;

    void send(std::string_view bytes);
    // Sends bytes in pieces of pieceSize with a pause between them.
    void sendSplit(std::string_view bytes, size_t pieceSize, int pauseMs = 2);
    // Sends bytes one at a time, pauseMs apart, until all are sent or the
    // server is being destroyed: no read of the client waits long, the
    // whole takes long.
    void trickle(std::string_view bytes, int pauseMs);
    // Ends the connection once the handler returns.
    void close() { closeAfter = true; }

    ServerExchange(const ServerRequest& r, std::function<void(std::string_view)> writer,
                   const std::atomic<bool>& serverStopping)
        : request(r), write(std::move(writer)), stopping(serverStopping) {}
    bool closeAfter = false;

private:
    std::function<void(std::string_view)> write;
    const std::atomic<bool>& stopping;
};

using ServerHandler = std::function<void(ServerExchange&)>;

struct ServerOptions {
    const TestCertificate* certificate = nullptr;  // TLS when set
    std::string greeting;   // sent as soon as a connection is accepted, then closed (when non-empty)
    bool neverAccept = false;  // listen with a full backlog and never accept
};

class TestServer {
public:
    explicit TestServer(ServerHandler handler, ServerOptions options = {});
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    int port() const { return listenPort; }
    // "http://127.0.0.1:port" (or https) followed by path.
    std::string url(const std::string& path, const std::string& host = "127.0.0.1") const;

    int connections() const { return connectionCount.load(); }
    int requests() const { return requestCount.load(); }
    std::vector<ServerRequest> seen() const;
    std::string lastServerName() const;
    // Closes every open connection from the server side (idle pooled ones too).
    void dropConnections();

private:
    void acceptLoop();
    void serve(int fd, int number);

    ServerHandler handler;
    ServerOptions options;
    int listenFd = -1;
    int listenPort = 0;
    std::vector<int> backlogFillers;
    void* sslContext = nullptr;
    std::atomic<bool> stopping{false};
    std::atomic<int> connectionCount{0};
    std::atomic<int> requestCount{0};
    mutable std::mutex mutex;
    std::vector<ServerRequest> requestLog;
    std::vector<int> openFds;
    std::vector<std::thread> threads;
    std::thread acceptor;
    std::string serverName;

    static int onServerName(struct ssl_st* ssl, int* alert, void* self);
};
