#include "http_test_support.h"
#include "test_server.h"

#include <atomic>
#include <chrono>

namespace {

std::string chunked(const std::string& chunks) {
    return "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + chunks;
}

} // namespace

TEST_F(HttpFixture, BodiesByLengthChunksAndCloseArriveWhole) {
    std::string big(100000, 'x');
    for (size_t i = 0; i < big.size(); i += 7) big[i] = static_cast<char>('a' + i % 26);
    TestServer server([&](ServerExchange& x) {
        const std::string& path = x.request.target;
        if (path == "/length") x.sendSplit(reply("200 OK", big), 3000, 1);
        if (path == "/empty") x.send(reply("200 OK", ""));
        if (path == "/chunked") {
            // Split inside size lines, data and the final CRLFs, with an extension.
            x.sendSplit(chunked("5;name=v\r\nhello\r\n1A\r\nabcdefghijklmnopqrstuvwxyz\r\n0\r\n\r\n"), 4, 1);
        }
        if (path == "/close") {
            x.sendSplit("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nuntil the end", 5, 1);
            x.close();
        }
    });

    auto r = get(server.url("/length"));
    ASSERT_EQ(r->ok, 1) << errorOf(r);
    EXPECT_EQ(bodyOf(r), big);
    EXPECT_EQ(r->body[r->bodyLength], '\0');
    EXPECT_NE(std::string(r->header).find("Content-Length: 100000"), std::string::npos);

    r = get(server.url("/empty"));
    ASSERT_EQ(r->ok, 1) << errorOf(r);
    EXPECT_EQ(r->bodyLength, 0);

    r = get(server.url("/chunked"));
    ASSERT_EQ(r->ok, 1) << errorOf(r);
    EXPECT_EQ(bodyOf(r), "helloabcdefghijklmnopqrstuvwxyz");

    // The three keep-alive exchanges above shared one connection.
    EXPECT_EQ(server.connections(), 1);

    // Read to the close: under keep-alive the length is unknown, so the
    // request is repeated once without keep-alive, where it succeeds.
    r = get(server.url("/close"));
    ASSERT_EQ(r->ok, 1) << errorOf(r);
    EXPECT_EQ(bodyOf(r), "until the end");
    auto seen = server.seen();
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[3].version, "HTTP/1.1");
    EXPECT_EQ(seen[4].version, "HTTP/1.0");
    EXPECT_EQ(seen[4].fields["connection"], "close");
}

TEST_F(HttpFixture, RequestHeadCarriesMethodHostAgentAndCookie) {
    TestServer server([](ServerExchange& x) { x.send(reply("200 OK", "ok")); });
    auto r = HttpResponsePtr(http_request(server.url("/p?q=1").c_str(), "a=1; b=2", "http://ref.example/", 1, 0,
                                          "name=%E5%90%8D&x=1"));
    ASSERT_EQ(r->ok, 1) << errorOf(r);
    ServerRequest seen = server.seen().at(0);
    EXPECT_EQ(seen.method, "POST");
    EXPECT_EQ(seen.target, "/p?q=1");
    EXPECT_EQ(seen.fields["host"], "127.0.0.1:" + std::to_string(server.port()));
    EXPECT_EQ(seen.fields["accept"], "*/*");
    EXPECT_EQ(seen.fields["accept-language"], "zh-cn");
    EXPECT_EQ(seen.fields["referer"], "http://ref.example/");
    EXPECT_EQ(seen.fields["cookie"], "a=1; b=2");
    EXPECT_EQ(seen.fields["connection"], "keep-alive");
    EXPECT_EQ(seen.fields["content-type"], "application/x-www-form-urlencoded");
    EXPECT_EQ(seen.body, "name=%E5%90%8D&x=1");
    EXPECT_EQ(seen.fields["user-agent"].rfind("Mozilla/5.0 (Windows NT 6.1)", 0), 0u);
}

TEST_F(HttpFixture, ContinueHeadIsSkippedWithoutLosingTheReply) {
    TestServer server([](ServerExchange& x) {
        x.send("HTTP/1.1 100 Continue\r\n\r\n" + reply("200 OK", "after continue"));
    });
    auto r = get(server.url("/"));
    ASSERT_EQ(r->ok, 1) << errorOf(r);
    EXPECT_EQ(bodyOf(r), "after continue");
    EXPECT_EQ(std::string(r->header).rfind("HTTP/1.1 200 OK", 0), 0u);
}

TEST_F(HttpFixture, TenMegabyteLimitHoldsInEveryBodyMode) {
    const std::string limit(10485760, 'z');
    TestServer server([&](ServerExchange& x) {
        const std::string& path = x.request.target;
        if (path == "/declared") x.send("HTTP/1.1 200 OK\r\nContent-Length: 10485761\r\n\r\n");
        if (path == "/chunk") x.send(chunked("A00001\r\n"));
        if (path == "/chunks") x.send(chunked("A00000\r\n" + limit + "\r\n1\r\nz\r\n0\r\n\r\n"));
        if (path == "/overflow") x.send(chunked("FFFFFFFFFFFFFFFFFFFF\r\n"));
        if (path == "/exact" || path == "/over") {
            x.send("HTTP/1.0 200 OK\r\n\r\n" + limit + (path == "/over" ? "!" : ""));
            x.close();
        }
    });
    auto r = get(server.url("/declared"), 0);
    EXPECT_EQ(errorOf(r), "header.contentLength: 10485761, 大于10M");
    EXPECT_EQ(r->errorKind, 2);
    EXPECT_NE(r->header, nullptr);

    r = get(server.url("/chunk"), 0);
    EXPECT_EQ(errorOf(r), "chunk 数据总大小:10485761, 大于10M");
    r = get(server.url("/chunks"), 0);
    EXPECT_EQ(errorOf(r), "chunk 数据总大小:10485761, 大于10M");
    r = get(server.url("/overflow"), 0);
    EXPECT_EQ(errorOf(r), "chunk 数据总大小:10485761, 大于10M");

    r = get(server.url("/exact"), 0);
    ASSERT_EQ(r->ok, 1) << errorOf(r);
    EXPECT_EQ(r->bodyLength, 10485760);
    r = get(server.url("/over"), 0);
    EXPECT_EQ(r->ok, 0);
    EXPECT_EQ(errorOf(r).rfind("header.contentLength: -1, readTotal:", 0), 0u) << errorOf(r);
}

TEST_F(HttpFixture, TruncatedAndMalformedBodiesFail) {
    TestServer server([](ServerExchange& x) {
        const std::string& path = x.request.target;
        if (path == "/short") x.send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n" + std::string(50, 's'));
        if (path == "/cut-chunk") x.send(chunked("10\r\nonly-part"));
        if (path == "/between-chunks") x.send(chunked("3\r\nabc\r\n"));
        if (path == "/not-hex") x.send(chunked("zz\r\nabc\r\n0\r\n\r\n"));
        if (path == "/no-crlf") x.send(chunked("3\r\nabcX\r\n0\r\n\r\n"));
        if (path == "/no-head") x.send("HTTP/1.1 200 OK\r\nContent-Len");
        if (path == "/long-head") x.send("HTTP/1.1 200 OK\r\nX-Pad: " + std::string(9000, 'p') + "\r\n\r\n");
        x.close();
    });

    // Keep-alive first, then the one repeat without it; the caller sees the second.
    auto r = get(server.url("/short"));
    EXPECT_EQ(errorOf(r).rfind("文件大小:100, 实际接收到的文件大小:50, ret:0,", 0), 0u) << errorOf(r);
    EXPECT_EQ(r->errorKind, 2);
    EXPECT_EQ(server.requests(), 2);

    struct Case {
        const char* path;
        const char* messageStart;
    } cases[] = {
        {"/cut-chunk", "文件大小:-1, 实际接收到的文件大小:9, ret:0,"},
        {"/between-chunks", "读取失败3: body大小:4294967295, 实际接收到的body大小:0, ret:0,"},
        {"/not-hex", "chunk 大小行不正确: zz"},
        {"/no-crlf", "chunk 数据后缺少换行符"},
        {"/no-head", "文件大小:-1, 实际接收到的文件大小:0, ret:0,"},
        {"/long-head", "读取 HTTP_BUFFER_SIZE 字节, 还没有读取完整个 HTTP Head."},
    };
    for (const Case& c : cases) {
        r = get(server.url(c.path), 0);
        EXPECT_EQ(r->ok, 0) << c.path;
        EXPECT_EQ(r->body, nullptr) << c.path;
        EXPECT_EQ(errorOf(r).rfind(c.messageStart, 0), 0u) << c.path << ": " << errorOf(r);
    }
}

TEST_F(HttpFixture, RefusedStatusesAndEncodings) {
    TestServer server([](ServerExchange& x) {
        const std::string& path = x.request.target;
        if (path == "/missing") x.send(reply("404 Not Found", "nope"));
        if (path == "/broken") x.send(reply("500 Internal Server Error", "oops"));
        if (path == "/moved-nowhere") x.send(reply("302 Found", ""));
        if (path == "/gzip") x.send(reply("200 OK", "\x1f\x8b", "Content-Encoding: gzip\r\n"));
    });
    auto r = get(server.url("/missing"));
    EXPECT_EQ(errorOf(r), "404 Not Found - 文件不存在");
    EXPECT_EQ(std::string(r->header), "HTTP/1.1 404 Not Found\r\nContent-Length: 4");
    EXPECT_EQ(server.requests(), 2);  // repeated once without keep-alive

    r = get(server.url("/broken"), 0);
    EXPECT_EQ(errorOf(r), "返回错误的http状态码:\nHTTP/1.1 500 Internal Server Error\r\nContent-Length: 4\r\n\r\noops");
    r = get(server.url("/moved-nowhere"), 0);
    EXPECT_EQ(errorOf(r).rfind("返回错误的http状态码:\nHTTP/1.1 302 Found", 0), 0u);
    r = get(server.url("/gzip"), 0);
    EXPECT_EQ(errorOf(r), "暂不支持处理 header.contentEncoding:gzip");
}

TEST_F(HttpFixture, PooledConnectionIsReusedAndAStaleOneRecovered) {
    TestServer server([](ServerExchange& x) { x.send(reply("200 OK", "n" + std::to_string(x.request.indexOnConnection))); });
    EXPECT_EQ(bodyOf(get(server.url("/a"))), "n1");
    EXPECT_EQ(bodyOf(get(server.url("/b"))), "n2");
    EXPECT_EQ(server.connections(), 1);

    // The server closes the idle pooled connection: the next request fails
    // on it and is repeated once on a fresh connection.
    server.dropConnections();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    auto r = get(server.url("/c"));
    ASSERT_EQ(r->ok, 1) << errorOf(r);
    EXPECT_EQ(bodyOf(r), "n1");
    EXPECT_EQ(server.connections(), 2);
    EXPECT_EQ(server.seen().back().version, "HTTP/1.0");
}

TEST_F(HttpFixture, RedirectsAreFollowedEightTimesNotNine) {
    TestServer server([](ServerExchange& x) {
        // /r/N redirects N more times, alternating absolute and relative forms.
        const std::string& path = x.request.target;
        if (path.rfind("/r/", 0) == 0) {
            int left = std::stoi(path.substr(3));
            if (left == 0) return x.send(reply("200 OK", "arrived"));
            std::string next = left % 2 ? "/r/" + std::to_string(left - 1) : std::to_string(left - 1);
            x.send(reply("302 Found", "", "Location: " + next + "\r\n"));
        }
    });
    auto r = get(server.url("/r/8"));
    ASSERT_EQ(r->ok, 1) << errorOf(r);
    EXPECT_EQ(bodyOf(r), "arrived");
    EXPECT_EQ(server.requests(), 9);
    // The redirects' connection went back to the pool each time.
    EXPECT_EQ(server.connections(), 1);

    r = get(server.url("/r/9"));
    EXPECT_EQ(r->ok, 0);
    EXPECT_EQ(errorOf(r), "HTTP连继跳转已超过允许的次数。");
    EXPECT_EQ(r->errorKind, 2);
    EXPECT_EQ(server.requests(), 9 + 9);  // not repeated
}

TEST_F(HttpFixture, RedirectDropsCookieForAnotherHostAndTurnsPostIntoGet) {
    TestServer server([](ServerExchange& x) {
        const std::string& path = x.request.target;
        if (path == "/same") x.send(reply("301 Moved", "", "Location: /end\r\n"));
        if (path == "/other") {
            std::string host = x.request.fields.at("host");
            std::string otherHost = "localhost" + host.substr(host.find(':'));
            x.send(reply("302 Found", "", "Location: http://" + otherHost + "/end\r\n"));
        }
        if (path == "/end") x.send(reply("200 OK", "end"));
    });
    auto r = get(server.url("/same"), 1, "sid=1");
    ASSERT_EQ(r->ok, 1) << errorOf(r);
    r = get(server.url("/other"), 1, "sid=2");
    ASSERT_EQ(r->ok, 1) << errorOf(r);
    r = HttpResponsePtr(http_request(server.url("/same").c_str(), nullptr, nullptr, 1, 0, "a=1"));
    ASSERT_EQ(r->ok, 1) << errorOf(r);

    auto seen = server.seen();
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen[1].fields["cookie"], "sid=1");
    EXPECT_EQ(seen[2].fields["cookie"], "sid=2");
    EXPECT_EQ(seen[3].fields.count("cookie"), 0u);
    EXPECT_EQ(seen[3].fields["host"].rfind("localhost:", 0), 0u);
    EXPECT_EQ(seen[4].method, "POST");
    EXPECT_EQ(seen[5].method, "GET");
    EXPECT_EQ(seen[5].body, "");
}

TEST_F(HttpFixture, FailedPostIsNotSentTwice) {
    TestServer server([](ServerExchange& x) { x.close(); });
    auto r = HttpResponsePtr(http_request(server.url("/form").c_str(), nullptr, nullptr, 1, 0, "a=1"));
    EXPECT_EQ(r->ok, 0);
    EXPECT_EQ(server.requests(), 1);
}

TEST_F(HttpFixture, UnsafeOrOversizedRequestsAreRefusedBeforeConnecting) {
    TestServer server([](ServerExchange& x) { x.send(reply("200 OK", "ok")); });
    auto r = get(server.url("/a\r\nX-Injected: 1"));
    EXPECT_EQ(errorOf(r), "网址不符合规范");
    EXPECT_EQ(r->errorKind, 1);
    r = get(server.url("/a"), 1, "sid=1\r\nX-Injected: 1");
    EXPECT_EQ(errorOf(r), "Cookie 或 Referer 含有控制字符");
    r = get(server.url("/a"), 1, nullptr, "http://x/\nX-Injected: 1");
    EXPECT_EQ(errorOf(r), "Cookie 或 Referer 含有控制字符");
    std::string referer = "http://x/" + std::string(8200, 'r');
    r = get(server.url("/a"), 1, nullptr, referer.c_str());
    EXPECT_EQ(r->errorKind, 1);
    EXPECT_EQ(errorOf(r).rfind("HTTP 请求头长度:", 0), 0u) << errorOf(r);
    EXPECT_EQ(server.connections(), 0);

    for (const char* bad : {"ftp://h/", "http:/h/x", "http://:80/", "http://h:0/", "http://h:65536/", "http://h:8a/"}) {
        EXPECT_EQ(errorOf(get(bad)), "网址不符合规范") << bad;
    }
}

TEST_F(HttpFixture, ConnectFailureIsReportedAtOnce) {
    int port;
    {
        TestServer gone([](ServerExchange&) {});
        port = gone.port();
    }
    auto start = std::chrono::steady_clock::now();
    auto r = get("http://127.0.0.1:" + std::to_string(port) + "/");
    EXPECT_EQ(r->errorKind, 1);
    EXPECT_EQ(errorOf(r).rfind("使用非阻塞方式连接发生错误，错误码:", 0), 0u) << errorOf(r);
    EXPECT_EQ(r->header, nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST_F(HttpFixture, SchemeDecidesTlsAndTheServerNameIsSent) {
    TestCertificate cert = makeServerCertificate({"localhost"}, true);
    ServerOptions options;
    options.certificate = &cert;
    TestServer server([](ServerExchange& x) { x.send(reply("200 OK", "secret " + x.request.target)); }, options);
    std::string port = std::to_string(server.port());

    auto r = get("https://localhost:" + port + "/one");
    ASSERT_EQ(r->ok, 1) << errorOf(r);
    EXPECT_EQ(bodyOf(r), "secret /one");
    EXPECT_EQ(server.lastServerName(), "localhost");
    r = get("HTTPS://localhost:" + port + "/two");
    ASSERT_EQ(r->ok, 1) << errorOf(r);
    EXPECT_EQ(server.connections(), 1);  // the TLS pool kept the connection

    // Plain HTTP to a TLS port is not upgraded by the port number.
    r = get("http://localhost:" + port + "/three", 0);
    EXPECT_EQ(r->ok, 0);
}

TEST_F(HttpFixture, HttpsRedirectToPlainHttpIsRefused) {
    TestCertificate cert = makeServerCertificate({"localhost"}, true);
    ServerOptions options;
    options.certificate = &cert;
    TestServer server([](ServerExchange& x) { x.send(reply("302 Found", "", "Location: http://localhost/x\r\n")); },
                      options);
    auto r = get(server.url("/", "localhost"));
    EXPECT_EQ(r->ok, 0);
    EXPECT_EQ(errorOf(r), "不允许从 https 跳转到 http: http://localhost/x");
    EXPECT_EQ(server.requests(), 1);
}

TEST_F(HttpFixture, BodyUntilCloseIsNotWholeWhenTheReadTimesOut) {
    socketIoTimeoutMs = 300;
    TestCertificate cert = makeServerCertificate({"localhost"}, true);
    for (bool tls : {false, true}) {
        ServerOptions options;
        if (tls) options.certificate = &cert;
        TestServer server([](ServerExchange& x) {
            x.send("HTTP/1.0 200 OK\r\n\r\npart of a body");
            std::this_thread::sleep_for(std::chrono::milliseconds(800));
            x.close();
        }, options);
        auto r = get(server.url("/stall", "localhost"), 0);
        EXPECT_EQ(r->ok, 0) << tls;
        EXPECT_EQ(errorOf(r).rfind("文件大小:-1, 实际接收到的文件大小:14, ret:-1,", 0), 0u) << errorOf(r);
    }
}

TEST_F(HttpFixture, ChunksAloneSayWhenTheBodyIsWhole) {
    socketIoTimeoutMs = 300;
    TestServer server([](ServerExchange& x) {
        const std::string head = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nContent-Length: ";
        if (x.request.target == "/whole") x.send(head + "3\r\n\r\n5\r\nhello\r\n0\r\n\r\n");
        if (x.request.target == "/cut") {
            // As many bytes as the length field says, then nothing.
            x.send(head + "5\r\n\r\na\r\nhello");
            std::this_thread::sleep_for(std::chrono::milliseconds(800));
        }
    });
    for (int keepAlive : {1, 0}) {
        SCOPED_TRACE(keepAlive);
        auto r = get(server.url("/cut"), keepAlive);
        EXPECT_EQ(r->ok, 0);
        EXPECT_EQ(errorOf(r).rfind("文件大小:-1, 实际接收到的文件大小:5, ret:-1,", 0), 0u) << errorOf(r);
        r = get(server.url("/whole"), keepAlive);
        ASSERT_EQ(r->ok, 1) << errorOf(r);
        EXPECT_EQ(bodyOf(r), "hello");
        // The cut reply's connection was closed, not kept for this request.
        EXPECT_EQ(server.seen().back().indexOnConnection, 1);
    }
}

TEST_F(HttpFixture, TlsBodyUntilCloseArrives) {
    TestCertificate cert = makeServerCertificate({"localhost"}, true);
    ServerOptions options;
    options.certificate = &cert;
    TestServer server([](ServerExchange& x) {
        x.send("HTTP/1.0 200 OK\r\n\r\nsealed until the end");
        x.close();
    }, options);
    auto r = get(server.url("/", "localhost"), 0);
    ASSERT_EQ(r->ok, 1) << errorOf(r);
    EXPECT_EQ(bodyOf(r), "sealed until the end");
}
