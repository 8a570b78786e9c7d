#include "net/cookie_jar.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Each test uses hosts of its own: the jar lives for the whole process.
std::string cookiesFor(const char* url, const char* extra = nullptr) {
    std::string out = "unchanged";
    http_cookie_get(url, extra, out);
    return out;
}

struct CookieJar : ::testing::Test {
    static void SetUpTestSuite() { http_cookie_init(); }
};

} // namespace

TEST(CookieJarAddresses, DomainPathAndRootDomain) {
    std::string out = "keep";
    getDomain("http://Www.Example.com:8080/a/b.html", out);
    EXPECT_EQ(out, ".www.example.com:8080");
    out = "keep";
    getDomain("no-slash", out);
    EXPECT_EQ(out, "keep");

    struct Case {
        const char* url;
        const char* path;
    } paths[] = {{"http://h/p/q.html", "/p"}, {"http://h/x", "/"}, {"http://h", "/"},
                 {"http://h/a/b/c", "/a/b"}, {"http://h/a?u=/x/y", "/"}};
    for (const Case& c : paths) {
        getPath(c.url, out);
        EXPECT_EQ(out, c.path) << c.url;
    }
    out = "keep";
    getPath("h/p/q", out);
    EXPECT_EQ(out, "keep");

    getRootDomain("http://img.shop.example.com/x", out);
    EXPECT_EQ(out, ".example.com");
    getRootDomain("http://localhost/x", out);
    EXPECT_EQ(out, ".localhost");
    getRootDomain("no-host", out);
    EXPECT_EQ(out, "");
}

TEST_F(CookieJar, StoredByDomainPathAndName) {
    EXPECT_EQ(cookiesFor("http://empty.test/"), "");

    // A Path ending in '/' is filed without it, under ".host".
    http_cookie_set("http://a.test/x/page", "sid=1; Path=/x/");
    EXPECT_EQ(cookiesFor("http://a.test/x/other"), "Cookie: sid=1");
    // Without attributes: the directory of the address's path.
    http_cookie_set("http://a.test/p/q.html", "lang=zh");
    EXPECT_EQ(cookiesFor("http://a.test/p/r.html"), "Cookie: lang=zh");
    EXPECT_EQ(cookiesFor("http://a.test/other/r.html"), "");
    // The same domain, path and name replaces the value.
    http_cookie_set("http://a.test/p/q.html", "lang=en; HttpOnly; Expires=Wed, 21 Oct 2037 07:28:00 GMT");
    EXPECT_EQ(cookiesFor("http://a.test/p/q.html"), "Cookie: lang=en");
}

TEST_F(CookieJar, SubHostsSeeTheParentDomainsRootPathOnly) {
    http_cookie_set("http://www.b.test/", "root=1; Domain=b.test; Path=/");
    http_cookie_set("http://www.b.test/", "deep=1; Domain=.b.test; Path=/deep");
    http_cookie_set("http://www.b.test/", "host=1; Path=/");
    EXPECT_EQ(cookiesFor("http://img.b.test/deep/pic.jpg"), "Cookie: root=1");
    std::string both = cookiesFor("http://www.b.test/x/y");
    EXPECT_NE(both.find("root=1"), std::string::npos);
    EXPECT_NE(both.find("host=1"), std::string::npos);
    // Nor do they reach a host that merely ends in the same letters.
    EXPECT_EQ(cookiesFor("http://evilb.test/"), "");
    EXPECT_EQ(cookiesFor("http://www.evilb.test/"), "");
}

TEST_F(CookieJar, ExtraCookiesOverrideStoredOnes) {
    http_cookie_set("http://c.test/", "a=stored; Path=/");
    std::string out = cookiesFor("http://c.test/", "a=extra;  b=2;junk");
    EXPECT_NE(out.find("a=extra"), std::string::npos);
    EXPECT_NE(out.find("b=2"), std::string::npos);
    EXPECT_EQ(out.find("stored"), std::string::npos);
    EXPECT_EQ(out.rfind("Cookie: ", 0), 0u);
}

TEST_F(CookieJar, UnsafeOrForeignCookiesAreNotStored) {
    http_cookie_set("http://d.test/", "evil=1; Domain=other.test; Path=/");
    EXPECT_EQ(cookiesFor("http://other.test/"), "");
    http_cookie_set("http://d.test/", "tail=1; Domain=ad.test; Path=/");  // "d.test" does not end in ".ad.test"
    EXPECT_EQ(cookiesFor("http://x.ad.test/"), "");
    // "evilad.test" ends in "ad.test" but not at a '.': it is not a sub-host.
    http_cookie_set("http://evilad.test/", "boundary=1; Domain=ad.test; Path=/");
    EXPECT_EQ(cookiesFor("http://x.ad.test/"), "");
    EXPECT_EQ(cookiesFor("http://ad.test/"), "");
    http_cookie_set("http://d.test/", ("big=" + std::string(1100, 'v') + "; Path=/").c_str());
    http_cookie_set("http://d.test/", "split=1\r\nX: y; Path=/");
    http_cookie_set("http://d.test/", "=nameless; Path=/");
    http_cookie_set("http://d.test/", ("long=1; Path=/" + std::string(300, 'p')).c_str());
    EXPECT_EQ(cookiesFor("http://d.test/"), "");
    EXPECT_EQ(cookiesFor(("http://d.test/" + std::string(300, 'p') + "/x").c_str()), "");

    // A Secure cookie goes to https addresses only.
    http_cookie_set("https://e.test/", "token=s; Secure; Path=/");
    EXPECT_EQ(cookiesFor("http://e.test/"), "");
    EXPECT_EQ(cookiesFor("https://e.test/"), "Cookie: token=s");
}
