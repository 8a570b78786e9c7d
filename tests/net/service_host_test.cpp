#include "foundation/registry.h"
#include "net/reply_text.h"
#include "net/service_host.h"
#include "net/service_preferences.h"

#include "http_test_support.h"
#include "service_test_support.h"
#include "test_server.h"

#include "foundation/temp_folder.h"

TEST_F(ServiceGlobalsFixture, AddressesNeedAConfiguredHost) {
    serviceHost.clear();
    supportSite.clear();
    EXPECT_EQ(serviceStartupQueryUrl(), "");
    EXPECT_EQ(serviceErrorReportUrl("w", "m"), "");
    EXPECT_EQ(servicePictureApiUrl("http://item/?id=1", 0), "");
    EXPECT_EQ(serviceMusicCatalogueUrl(), "");
    EXPECT_EQ(supportSiteUrl("/help.html"), "");

    serviceHost = "svc.example";
    supportSite = "https://www.example/";
    EXPECT_EQ(serviceUrl("/x"), "http://svc.example/x");
    EXPECT_EQ(supportSiteUrl("/help.html"), "https://www.example/help.html");
    std::strcpy(userId, "abc12");
    EXPECT_EQ(servicePictureApiUrl("https://item.example/item.htm?id=7&x=1", 2),
              "http://svc.example/getProductImg/API.asp?v=10.5&sid=21cba"
              "&baobeiURL=https%3A%2F%2Fitem.example%2Fitem.htm%3Fid%3D7%26x%3D1&m=2&");
}

TEST_F(HttpFixture, ReplyTextConvertsGbkDeclaredOrNot) {
    TestServer server([](ServerExchange& x) {
        if (x.request.target == "/gbk") x.send(reply("200 OK", "\xD6\xD0\xCE\xC4", "Content-Type: text/plain; charset=GBK\r\n"));
        if (x.request.target == "/utf8") x.send(reply("200 OK", "中文", "Content-Type: text/plain\r\n"));
        if (x.request.target == "/undeclared-gbk") x.send(reply("200 OK", "\xD6\xD0\xCE\xC4", "Content-Type: text/plain\r\n"));
        if (x.request.target == "/no-type-gbk") x.send(reply("200 OK", "\xD6\xD0\xCE\xC4"));
        if (x.request.target == "/missing") x.send(reply("404 Not Found", ""));
    });
    EXPECT_EQ(http_reply_text(get(server.url("/gbk")).get()), "中文");
    EXPECT_EQ(http_reply_text(get(server.url("/utf8")).get()), "中文");
    EXPECT_EQ(http_reply_text(get(server.url("/undeclared-gbk")).get()), "中文");
    EXPECT_EQ(http_reply_text(get(server.url("/no-type-gbk")).get()), "中文");
    EXPECT_EQ(http_reply_text(get(server.url("/missing"), 0).get()), "");
}

TEST_F(ServiceGlobalsFixture, AddressesComeFromThePreferences) {
    TempFolder folder;
    setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1);
    serviceHost = "stale";
    loadServicePreferences();
    EXPECT_EQ(serviceHost, "");
    EXPECT_EQ(supportSite, "");
    const char host[] = " https://svc.example:8443 ";
    write_registry_string(HKEY_CURRENT_USER, "SOFTWARE\\Vessoranthe", "service_host", host, sizeof host);
    loadServicePreferences();
    EXPECT_EQ(serviceHost, "https://svc.example:8443");
    EXPECT_EQ(serviceStartupQueryUrl().rfind("https://svc.example:8443/startup.asp?v=10.5&", 0), 0u);
    unsetenv("XDG_CONFIG_HOME");
}
