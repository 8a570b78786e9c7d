#include "net/host_lookup.h"
#include "net/socket_connect.h"
#include "net/socket_watch.h"
#include "net/ssl_socket.h"

#include "http_test_support.h"
#include "test_server.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

long long elapsedMs(Clock::time_point since) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count();
}

int unusedPort() {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), length);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

void answerOk(ServerExchange& x) {
    x.send("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok");
}

// Resolvers standing in for the system's, counting their calls.
std::atomic<int> resolverCalls{0};
std::atomic<bool> resolverReleased{false};

int silentResolver(const char*, const char*, const addrinfo*, addrinfo**) {
    ++resolverCalls;
    while (!resolverReleased) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return EAI_AGAIN;
}

int noAddressResolver(const char*, const char*, const addrinfo*, addrinfo**) {
    ++resolverCalls;
    return EAI_NONAME;
}

// Puts a resolver in place for one test; the silent one answers once the test is over.
struct StandInResolver {
    HostResolver saved;
    explicit StandInResolver(HostResolver resolver) : saved(hostResolver.exchange(resolver)) {
        resolverCalls = 0;
        resolverReleased = false;
    }
    ~StandInResolver() {
        resolverReleased = true;
        hostResolver = saved;
    }
};

struct ShortConnectTimeout : ::testing::Test {
    int saved = socketConnectTimeoutMs.load();
    void SetUp() override { socketConnectTimeoutMs = 300; }
    void TearDown() override { socketConnectTimeoutMs = saved; }
};

} // namespace

TEST(SocketConnect, ConnectsAndRefusesWithItsMessages) {
    TestServer server(answerOk);
    std::string error;
    int fd = socket_connect("127.0.0.1", server.port(), error);
    ASSERT_NE(fd, NO_SOCKET) << error;
    EXPECT_TRUE(error.empty());
    socket_close(fd);

    // "localhost" may resolve to ::1 first, where nothing listens: the next
    // address must still be tried.
    fd = socket_connect("localhost", server.port(), error);
    EXPECT_NE(fd, NO_SOCKET) << error;
    socket_close(fd);

    EXPECT_EQ(socket_connect(nullptr, 80, error), NO_SOCKET);
    EXPECT_EQ(error, "域名 = null");
    EXPECT_EQ(socket_connect("no-such-host.invalid", 80, error), NO_SOCKET);
    EXPECT_EQ(error, "无法解析域名: no-such-host.invalid");

    // Ports 1 to 65535 are tried (nothing listens there: the connect is
    // refused); beyond them the address itself is refused.
    const struct {
        int port;
        bool lookupFails;
    } ports[] = {{0, true}, {1, false}, {65535, false}, {65536, true}, {-1, true}};
    for (const auto& p : ports) {
        EXPECT_EQ(socket_connect("127.0.0.1", p.port, error), NO_SOCKET) << p.port;
        EXPECT_EQ(socket_connect_lookup_failed(), p.lookupFails) << p.port;
        EXPECT_EQ(error.rfind(p.lookupFails ? "无法解析域名: 127.0.0.1" : "使用非阻塞方式连接发生错误，错误码:", 0), 0u)
            << p.port << ": " << error;
    }
}

TEST(SocketConnect, RefusedPortFailsAtOnce) {
    auto start = Clock::now();
    std::string error;
    EXPECT_EQ(socket_connect("127.0.0.1", unusedPort(), error), NO_SOCKET);
    EXPECT_LT(elapsedMs(start), 2000);
    EXPECT_EQ(error.rfind("使用非阻塞方式连接发生错误，错误码:", 0), 0u) << error;
}

TEST_F(ShortConnectTimeout, ListenerThatNeverAcceptsTimesOut) {
    ServerOptions options;
    options.neverAccept = true;
    TestServer server(answerOk, options);
    auto start = Clock::now();
    std::string error;
    EXPECT_EQ(socket_connect("127.0.0.1", server.port(), error), NO_SOCKET);
    long long took = elapsedMs(start);
    EXPECT_EQ(error, "使用非阻塞方式连接超时。");
    EXPECT_GE(took, 250);
    EXPECT_LT(took, 3000);
}

TEST(SocketConnect, ALookupThatNeverAnswersEndsWithTheWatch) {
    StandInResolver resolver(silentResolver);
    const struct {
        const char* name;
        int limitMs;
        KeepGoingCheck keepGoing;
        const char* failure;
    } cases[] = {
        {"the time runs out", 300, nullptr, "下载时间超过了 1 秒"},
        {"the user stops", 600000, [] { return false; }, "已停止下载"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SocketWatch watch(std::chrono::milliseconds(c.limitMs), c.keepGoing);
        auto start = Clock::now();
        std::string error;
        EXPECT_EQ(socket_connect("unanswered.test", 80, error), NO_SOCKET);
        EXPECT_LT(elapsedMs(start), 10000);
        EXPECT_EQ(error, c.failure);
    }
}

TEST_F(HttpFixture, ANameWithoutAddressIsLookedUpOnce) {
    StandInResolver resolver(noAddressResolver);
    auto r = get("http://unknown.test/");
    EXPECT_EQ(errorOf(r), "无法解析域名: unknown.test");
    EXPECT_EQ(resolverCalls, 1) << "the repeat without keep-alive looks it up again";
}

TEST(SslSocket, VerifiesCertificateAndSendsServerName) {
    TestCertificate cert = makeServerCertificate({"localhost"}, true);
    ServerOptions options;
    options.certificate = &cert;
    TestServer server(answerOk, options);
    std::string error;

    SslSocket* ssl = ssl_socket_connect("localhost", server.port(), error);
    ASSERT_NE(ssl, nullptr) << error;
    EXPECT_EQ(server.lastServerName(), "localhost");
    const char request[] = "GET / HTTP/1.1\r\nHost: localhost\r\n\r\n";
    EXPECT_EQ(ssl_socket_write(ssl, request, sizeof request - 1), long(sizeof request - 1));
    std::string reply;
    char buffer[256];
    long n;
    while (reply.find("ok") == std::string::npos && (n = ssl_socket_read(ssl, buffer, sizeof buffer)) > 0) {
        reply.append(buffer, static_cast<size_t>(n));
    }
    EXPECT_NE(reply.find("200 OK"), std::string::npos);
    ssl_socket_close(ssl);

    // An address literal is checked against the certificate's address.
    ssl = ssl_socket_connect("127.0.0.1", server.port(), error);
    EXPECT_NE(ssl, nullptr) << error;
    ssl_socket_close(ssl);
}

TEST(SslSocket, RefusesUntrustedOrMismatchedCertificates) {
    TestCertificate selfSigned = makeServerCertificate({"localhost"}, true, true);
    TestCertificate otherName = makeServerCertificate({"other.test"}, false);
    for (const TestCertificate* cert : {&selfSigned, &otherName}) {
        ServerOptions options;
        options.certificate = cert;
        TestServer server(answerOk, options);
        std::string error;
        EXPECT_EQ(ssl_socket_connect("localhost", server.port(), error), nullptr);
        EXPECT_EQ(error, "BIO_do_connect(ssl_bio) Error.");
        EXPECT_EQ(server.requests(), 0);
    }
}

TEST(SslSocket, PlainServerAnsweringTlsClientFails) {
    testAuthority();
    ServerOptions options;
    options.greeting = "HTTP/1.1 400 Bad Request\r\nConnection: close\r\n\r\n";
    TestServer server(answerOk, options);
    std::string error;
    EXPECT_EQ(ssl_socket_connect("127.0.0.1", server.port(), error), nullptr);
    EXPECT_EQ(error, "BIO_do_connect(ssl_bio) Error.");
}
