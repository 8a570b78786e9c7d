#include "http_test_support.h"
#include "test_server.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>
#include <vector>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

bool isOpen(int fd) {
    return fcntl(fd, F_GETFD) != -1;
}

// Stands in for a connection: the pool keeps and closes the write end of a
// pipe, the test sees on the read end whether it was closed (a descriptor
// number alone may be reused meanwhile).
struct StandIn {
    int seen, given;
};

StandIn standIn() {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) ADD_FAILURE() << "pipe2";
    return {ends[0], ends[1]};
}

bool closedByPool(const StandIn& connection) {
    pollfd end{connection.seen, POLLIN, 0};
    return poll(&end, 1, 0) == 1 && (end.revents & POLLHUP);
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

TEST_F(HttpFixture, PoolKeepsFewIdleConnectionsAndClosesTheLongestIdleFirst) {
    TestServer server([](ServerExchange&) {});
    const int port = server.port();
    // Other loopback addresses refuse at once; the pool was asked for them all the same.
    auto host = [](int k) { return "127.0.0." + std::to_string(2 + k); };
    std::string error;
    for (int k = 0; k < 40; ++k) ASSERT_EQ(socket_pool_get(host(k).c_str(), port, error), NO_SOCKET);
    socket_pool_close_idle();  // what earlier tests left counts towards the cap of all

    // Exactly the given ones from index keptFrom on are still open.
    auto expectKeptFrom = [](const std::vector<StandIn>& given, size_t keptFrom) {
        for (size_t i = 0; i < given.size(); ++i) EXPECT_EQ(closedByPool(given[i]), i < keptFrom) << i;
    };
    std::vector<StandIn> oneHost(20), manyHosts(40);
    for (StandIn& c : oneHost) socket_pool_release(host(0).c_str(), port, (c = standIn()).given);
    expectKeptFrom(oneHost, 20 - 8);  // eight per host
    // The first goes to the host above, whose longest idle one makes room;
    // then the longest idle of all go, leaving 32.
    for (int k = 0; k < 40; ++k) socket_pool_release(host(k).c_str(), port, (manyHosts[k] = standIn()).given);
    expectKeptFrom(oneHost, 20);
    expectKeptFrom(manyHosts, 40 - 32);

    // An import's end closes what is left; so does a long idle time.
    socket_pool_close_idle();
    EXPECT_TRUE(closedByPool(manyHosts.back()));
    StandIn late = standIn();
    socket_pool_release(host(1).c_str(), port, late.given);
    int savedIdle = socketPoolIdleMs.exchange(0);
    EXPECT_EQ(socket_pool_get(host(1).c_str(), port, error), NO_SOCKET) << "a fresh connect, refused";
    socketPoolIdleMs = savedIdle;
    EXPECT_TRUE(closedByPool(late));

    for (const StandIn& c : oneHost) close(c.seen);
    for (const StandIn& c : manyHosts) close(c.seen);
    close(late.seen);
}
