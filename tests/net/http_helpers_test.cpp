#include "net/http_header.h"
#include "net/http_url.h"
#include "net/url_encoding.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

TEST(HttpParseUrl, HostPathPortAndScheme) {
    struct Case {
        const char* url;
        const char* host;
        const char* path;
        int port;
        int secure;
    } cases[] = {
        {"http://example.com/a/b?c=d#e", "example.com", "/a/b?c=d#e", 80, 0},
        {"https://example.com", "example.com", "/", 443, 1},
        {"HTTPS://Example.com/x", "Example.com", "/x", 443, 1},  // the scheme, in any case, decides
        {"Http://example.com/x", "example.com", "/x", 80, 0},
        {"https://example.com:8443/x", "example.com", "/x", 8443, 1},
        {"http://example.com:443/", "example.com", "/", 443, 0},
        {"//cdn.example.com/p.jpg", "cdn.example.com", "/p.jpg", 80, 0},
        {"http://example.com?q=1", "example.com?q=1", "/", 80, 0},  // no '/': the query joins the host part
    };
    for (const Case& c : cases) {
        HttpUrl url{};
        ASSERT_EQ(http_parse_url(c.url, &url), 1) << c.url;
        EXPECT_STREQ(url.host, c.host) << c.url;
        EXPECT_STREQ(url.path, c.path) << c.url;
        EXPECT_EQ(url.port, c.port) << c.url;
        EXPECT_EQ(url.secure, c.secure) << c.url;
        http_url_free(&url);
    }
    // Only the three forms: a scheme without its "://" is no address, even when a doubled '/' follows.
    for (const char* bad : {"", "example.com/x", "ftp://x/", "http:x", "http://", "http://h:99999/", "http://h:/",
                            "http://h/\r\n", "http://h/a\tb", "https//host/x", "HTTPS//host/x", "http//h",
                            "httpx://h/", "https:x//h/"}) {
        HttpUrl url{};
        EXPECT_EQ(http_parse_url(bad, &url), 0) << bad;
        EXPECT_EQ(url.host, nullptr);
    }
    EXPECT_EQ(http_parse_url(nullptr, nullptr), 0);
}

TEST(HttpUrlGetExt, ExtensionOfTheLastSegment) {
    struct Case {
        const char* url;
        int maximum;
        const char* ext;
    } cases[] = {
        {"http://h/a/pic.jpg", 8, "jpg"},         {"http://h/a/pic.JPEG?x=1.2", 8, "JPEG"},
        {"http://h/a/pic.png#frag.x", 8, "png"},  {"http://h/a/pic.webp", 3, "web"},
        {"http://h/dir.d/file", 8, ""},           {"no-slash.jpg", 8, ""},
        {"http://h/a/", 8, ""},
    };
    for (const Case& c : cases) {
        char buffer[16] = "junk";
        http_url_get_ext(c.url, buffer, c.maximum);
        EXPECT_STREQ(buffer, c.ext) << c.url;
    }
}

TEST(UrlEncoding, EncodeDecodeAndHex) {
    int length = -1;
    char* encoded = url_encode("a b/c-._~", 9, &length);
    EXPECT_STREQ(encoded, "a+b%2Fc-._%7E");
    EXPECT_EQ(length, 13);
    std::free(encoded);
    // Each byte of a multi-byte character is encoded on its own.
    encoded = url_encode("\xD6\xD0", 2, nullptr);
    EXPECT_STREQ(encoded, "%D6%D0");
    std::free(encoded);
    encoded = url_encode("", 0, &length);
    EXPECT_STREQ(encoded, "");
    std::free(encoded);
    EXPECT_EQ(url_encode(nullptr, 3, nullptr), nullptr);

    char text[] = "a+b%2fc%E4%B8%AD%zz%4";
    int decoded = url_decode(text, static_cast<int>(sizeof text - 1));
    EXPECT_EQ(std::string(text, decoded), "a b/c\xE4\xB8\xAD%zz%4");
    // An escape that ends the text is decoded; the length, not a NUL, bounds it.
    char last[] = "ab%41%42";
    decoded = url_decode(last, static_cast<int>(sizeof last - 1));
    EXPECT_EQ(std::string(last, decoded), "abAB");
    char cut[] = "ab%41";
    decoded = url_decode(cut, 4);
    EXPECT_EQ(std::string(cut, decoded), "ab%4");

    struct Hex {
        const char* text;
        int value;
    } hex[] = {{"1A", 26}, {"0x1f", 31}, {"  \tff;ext=1", 255}, {"zz", 0}, {"", 0}, {"FFFFFFFF", -1}};
    for (const Hex& h : hex) EXPECT_EQ(hexToInt(h.text), h.value) << h.text;
}

TEST(HttpParseHeader, FieldsAndLocations) {
    HttpHeader h;
    h.contentLength = 5;
    http_parse_header("http://host.example/dir/page.html?x=1",
                      "HTTP/1.1 302 Found\r\ncontent-length: 12\r\nTRANSFER-ENCODING: chunked\r\n"
                      "Connection: keep-alive\r\nContent-Encoding: gzip\r\n"
                      "Content-Type: text/html; Charset=UTF-8\r\nLocation: next.html",
                      &h);
    EXPECT_EQ(h.contentLength, 12);
    EXPECT_EQ(h.isChunked, 1);
    EXPECT_STREQ(h.connection, "keep-alive");
    EXPECT_STREQ(h.contentEncoding, "gzip");
    EXPECT_STREQ(h.contentType, "text/html");
    EXPECT_STREQ(h.charset, "UTF-8");
    EXPECT_EQ(h.location, "http://host.example/dir/next.html");

    struct Case {
        const char* base;
        const char* value;
        const char* resolved;
    } locations[] = {
        {"http://h.example/a/b", "/root?q", "http://h.example/root?q"},
        {"http://h.example", "/root", "http://h.example/root"},
        {"https://h.example/a/b", "HTTPS://o.example/", "HTTPS://o.example/"},
        {"https://h.example/a/b", "//cdn.example/p", "https://cdn.example/p"},
        {"http://h.example/a?u=/x/y", "z", "http://h.example/a?u=/x/z"},
        {"http://h.example", "rel", "http://h.example/rel"},
        // Scheme-relative request addresses resolve against their own host.
        {"//host/a/b", "/x", "//host/x"},
        {"//h/p", "y", "//h/y"},
        {"//h", "y", "//h/y"},
        {"https://h.example:8443/a/b/c", "/x", "https://h.example:8443/x"},
        {"http://a.b/c", "d", "http://a.b/d"},
    };
    for (const Case& c : locations) {
        http_parse_header(c.base, (std::string("HTTP/1.1 301 Moved\r\nLocation: ") + c.value).c_str(), &h);
        EXPECT_EQ(h.location, c.resolved) << c.base << " + " << c.value;
        EXPECT_EQ(h.contentLength, -1);
    }

    // Values longer than their field are cut; absent or unusable lengths are -1.
    std::string longType = "HTTP/1.1 200 OK\r\nContent-Type: " + std::string(300, 't') + "\r\nConnection: " +
                           std::string(40, 'c') + "\r\nContent-Length: x";
    http_parse_header("http://h/", longType.c_str(), &h);
    EXPECT_EQ(std::string(h.contentType), std::string(127, 't'));
    EXPECT_EQ(std::string(h.connection), std::string(15, 'c'));
    EXPECT_EQ(h.contentLength, -1);
    http_parse_header("http://h/", "HTTP/1.1 200 OK\r\nContent-Length: 99999999999", &h);
    EXPECT_GT(h.contentLength, 10485760);
    // Exactly one blank after the colon; a different spelling is another field.
    http_parse_header("http://h/", "HTTP/1.1 200 OK\r\nContent-Length:7\r\nTransfer-Encoding: gzip, chunked", &h);
    EXPECT_EQ(h.contentLength, -1);
    EXPECT_EQ(h.isChunked, 0);
}
