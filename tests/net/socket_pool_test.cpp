#include "http_test_support.h"
#include "test_server.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>
#include <vector>
#include <fcntl.h>

namespace {

bool isOpen(int fd) {
    return fcntl(fd, F_GETFD) != -1;
}

} // namespace

TEST_F(HttpFixture, PoolHandsOutTheLastReleasedFirst) {
    TestServer server([](ServerExchange&) {});
    int port = server.port();
    std::string error;
    int a = socket_connect("127.0.0.1", port, error);
    int b = socket_connect("127.0.0.1", port, error);
    // The first get registers the key and connects anew.
    int c = socket_pool_get("127.0.0.1", port, error);
    ASSERT_NE(c, NO_SOCKET) << error;
    socket_pool_release("127.0.0.1", port, a);
    socket_pool_release("127.0.0.1", port, b);
    EXPECT_EQ(socket_pool_get("127.0.0.1", port, error), b);
    EXPECT_EQ(socket_pool_get("127.0.0.1", port, error), a);
    int d = socket_pool_get("127.0.0.1", port, error);
    EXPECT_NE(d, NO_SOCKET);
    EXPECT_NE(d, a);
    EXPECT_NE(d, b);
    // Another port is another key: nothing idle there.
    socket_pool_release("127.0.0.1", port, c);
    int e = socket_pool_get("localhost", port, error);
    EXPECT_NE(e, c);
    for (int fd : {a, b, c, d, e}) socket_close(fd);
}

TEST_F(HttpFixture, ReleaseForAKeyNeverAskedClosesTheConnection) {
    TestServer server([](ServerExchange&) {});
    std::string error;
    int fd = socket_connect("127.0.0.1", server.port(), error);
    ASSERT_NE(fd, NO_SOCKET);
    socket_pool_release("127.0.0.1", 1, fd);
    EXPECT_FALSE(isOpen(fd));

    SslSocket* ssl = nullptr;
    ssl_socket_pool_release("127.0.0.1", 1, ssl);  // nothing to keep, nothing to close
}

TEST_F(HttpFixture, TlsPoolReusesTheHandshake) {
    TestCertificate cert = makeServerCertificate({"localhost"}, false);
    ServerOptions options;
    options.certificate = &cert;
    TestServer server([](ServerExchange&) {}, options);
    std::string error;
    SslSocket* first = ssl_socket_pool_get("localhost", server.port(), error);
    ASSERT_NE(first, nullptr) << error;
    ssl_socket_pool_release("localhost", server.port(), first);
    EXPECT_EQ(ssl_socket_pool_get("localhost", server.port(), error), first);
    EXPECT_EQ(server.connections(), 1);
    ssl_socket_close(first);
}

TEST_F(HttpFixture, ThreadsShareThePoolWithoutSharingAConnection) {
    TestServer server([](ServerExchange& x) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        x.send(reply("200 OK", x.request.target));
    });
    constexpr int threads = 6, rounds = 10;
    std::atomic<int> good{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            for (int i = 0; i < rounds; ++i) {
                std::string path = "/t" + std::to_string(t) + "/" + std::to_string(i);
                auto r = get(server.url(path));
                if (r->ok && bodyOf(r) == path) ++good;
            }
        });
    }
    for (std::thread& w : workers) w.join();
    EXPECT_EQ(good, threads * rounds);
    EXPECT_LE(server.connections(), threads);
}
