#include "net/import/item_picture_loaders.h"

#include "import_test_support.h"
#include "net/test_server.h"

#include "foundation/globals.h"
#include "net/import/import_stop.h"
#include "net/import/picture_download.h"
#include "platform/info_window.h"
#include "platform/load_item_commands.h"
#include "platform/message_box.h"
#include "production/download_folder.h"
#include "production/picture_list.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <thread>

namespace {

const std::string kNotConfigured =
    "没有设置服务器地址，无法获取宝贝的图片列表。\n\n"
    "可以直接输入图片地址：以 http:// 或 https:// 开头，以 .jpg、.png 或 .gif 结尾，多个地址用分号 ; 隔开。";

// Serves pictures under /p/: "missing" answers 404, "empty" an empty body,
// "page" an HTML page; every other name a JPEG. Other targets come from
// the routes (target -> whole reply).
struct PictureServer {
    std::map<std::string, std::string> routes;
    TestServer server;

    explicit PictureServer(const TestCertificate* certificate = nullptr)
        : server([this](ServerExchange& x) { answer(x); }, options(certificate)) {}

    static ServerOptions options(const TestCertificate* certificate) {
        ServerOptions options;
        options.certificate = certificate;
        return options;
    }

    void answer(ServerExchange& x) {
        const std::string& target = x.request.target;
        auto route = routes.find(target);
        if (route != routes.end()) x.send(route->second);
        else if (target == "/p/missing.jpg") x.send(reply("404 Not Found", "gone"));
        else if (target == "/p/empty.jpg") x.send(reply("200 OK", ""));
        else if (target == "/p/page.jpg") x.send(reply("200 OK", "<html>login</html>"));
        else if (target.rfind("/p/", 0) == 0) x.send(reply("200 OK", jpegBytes(), "Content-Type: image/jpeg\r\n"));
        else x.send(reply("404 Not Found", ""));
    }
    std::string url(const std::string& path) const { return server.url(path); }
    int requestsFor(const std::string& target) const {
        int n = 0;
        for (const ServerRequest& r : server.seen()) n += r.target == target;
        return n;
    }
};

const TestCertificate& serverCertificate() {
    static const TestCertificate certificate = makeServerCertificate({"localhost"}, true);
    return certificate;
}

std::string detailJson(const std::string& mainPictures, const std::string& colourPictures = "") {
    return R"({"ret":["SUCCESS::调用成功"],"data":{"item":{"images":[)" + mainPictures +
           R"(]},"skuBase":{"props":[{"pid":"1627207","values":[)" + colourPictures + R"(]}]}}})";
}

std::string mobileJson(const std::string& mainPictures, const std::string& colourPictures = "") {
    return R"({"ret":["SUCCESS::调用成功"],"data":{"itemInfoModel":{"picsPath":[)" + mainPictures +
           R"(]},"skuModel":{"skuProps":[{"propId":"1627207","values":[)" + colourPictures + R"(]}]}}})";
}

void setTemplate(const std::string& text) {
    ASSERT_LT(text.size(), sizeof itemUrlTemplate);
    std::strcpy(itemUrlTemplate, text.c_str());
}

} // namespace

TEST_F(ImportFixture, DirectAddressesSplitOnSemicolonsAndKeepTls) {
    PictureServer plain;
    PictureServer tls(&serverCertificate());
    serviceHost.clear();
    std::string text = plain.url("/p/a.jpg") + ";" + plain.url("/p/b.webp") + ";" + tls.url("/p/c.PNG") + ";" +
                       plain.url("/p/missing.jpg");
    LoadItemRequest r = request("  " + text + "\r\n");
    loadItemPictures(&r);

    EXPECT_EQ(pictureCount(), 2);
    EXPECT_EQ(plain.requestsFor("/p/b.webp"), 0);
    EXPECT_EQ(tls.requestsFor("/p/c.PNG"), 1);  // fetched over TLS: the TLS server answered it
    EXPECT_EQ(downloadedFiles().size(), 2u);
    EXPECT_NE(infoLogText().find("下载宝贝图片失败:\r\n" + plain.url("/p/missing.jpg") + "\r\n返回的错误信息:\r\n"),
              std::string::npos)
        << infoLogText();
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(waitCursor(), 0);
    EXPECT_EQ(statusLog(), (std::vector<std::string>{"下载宝贝图片: 1 / 3 - 按 Esc 键停止", "加载宝贝图片: 1 / 3",
                                                    "下载宝贝图片: 2 / 3 - 按 Esc 键停止", "加载宝贝图片: 2 / 3",
                                                    "下载宝贝图片: 3 / 3 - 按 Esc 键停止", ""}));
}

TEST_F(ImportFixture, LimitStopsTheLoopAndFailedDownloadsDoNotCount) {
    PictureServer server;
    fillPictureList(57);
    std::string text = server.url("/p/1.jpg") + ";" + server.url("/p/missing.jpg") + ";" + server.url("/p/empty.jpg") +
                       ";" + server.url("/p/page.jpg") + ";" + server.url("/p/2.jpg") + ";" + server.url("/p/3.jpg") +
                       ";" + server.url("/p/4.jpg") + ";" + server.url("/p/5.jpg");
    LoadItemRequest r = request(text);
    loadItemPictures(&r);

    EXPECT_EQ(pictureCount(), 60);
    EXPECT_EQ(server.requestsFor("/p/3.jpg"), 1);
    EXPECT_EQ(server.requestsFor("/p/4.jpg"), 0);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"最多可以添加 60 张图片"});
    // Only the added pictures stay on disk: the empty reply and the refused page are removed.
    EXPECT_EQ(downloadedFiles().size(), 3u);
}

TEST_F(ImportFixture, ItemJsonThroughTheTemplateOverTls) {
    PictureServer pictures(&serverCertificate());
    PictureServer items(&serverCertificate());
    std::string json = detailJson("\"" + pictures.url("/p/m1.jpg_.webp") + "\",\"" + pictures.url("/p/m2.jpg") + "\"",
                                  R"({"image":")" + pictures.url("/p/c1.jpg") + "\"}");
    items.routes["/detail?id=123&v=%7B"] = reply("200 OK", json, "Content-Type: application/json;charset=UTF-8\r\n");
    setTemplate(items.url("/detail?id=%s&v=%%7B"));
    keepHttpsPictureUrls = 0;

    LoadItemRequest r = request("https://item.taobao.com/item.htm?spm=a1&id=123&ns=1", 2);
    loadItemPictures(&r);

    EXPECT_EQ(pictureCount(), 3) << infoLogText();
    EXPECT_EQ(pictures.requestsFor("/p/m1.jpg"), 1);  // the "_.webp" suffix cut, https kept
    EXPECT_EQ(pictures.requestsFor("/p/c1.jpg"), 1);
    ASSERT_EQ(items.server.seen().size(), 1u);
    EXPECT_EQ(items.server.seen()[0].fields.at("referer"), "https://item.taobao.com/item.htm?id=123");
    EXPECT_EQ(items.server.seen()[0].fields.count("cookie"), 0u);
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(linkShown(), 0);
}

TEST_F(ImportFixture, HostileTemplateIsFilledAsText) {
    PictureServer items;
    setTemplate(items.url("/j?a=%n%n%x%s%99999999d&b=%s"));
    LoadItemRequest r = request("https://item.example/item.htm?id=77");
    loadItemPictures(&r);
    ASSERT_FALSE(items.server.seen().empty());
    for (const ServerRequest& seen : items.server.seen()) EXPECT_EQ(seen.target, "/j?a=%n%n%x77%99999999d&b=77");
}

TEST_F(ImportFixture, SecondAttemptCarriesTheCookie) {
    PictureServer server;
    std::string json = detailJson("\"" + server.url("/p/1.jpg") + "\"");
    TestServer items([&](ServerExchange& x) {
        if (x.request.fields.count("cookie") && x.request.fields.at("cookie") == "t=abc") x.send(reply("200 OK", json));
        else x.send(reply("403 Forbidden", ""));
    });
    setTemplate(items.url("/d?id=%s"));
    std::strcpy(itemRequestCookie, "t=abc");
    LoadItemRequest r = request("https://item.example/item.htm?id=5");
    loadItemPictures(&r);
    std::vector<ServerRequest> seen = items.seen();
    ASSERT_GE(seen.size(), 2u);
    for (size_t i = 0; i + 1 < seen.size(); ++i) EXPECT_EQ(seen[i].fields.count("cookie"), 0u);
    EXPECT_EQ(seen.back().fields.at("cookie"), "t=abc");
    EXPECT_EQ(pictureCount(), 1);
}

TEST_F(ImportFixture, ItemJsonFailuresExplainAndOfferTheExtension) {
    PictureServer items;
    items.routes["/d?id=1"] = reply("200 OK", R"({"ret":["FAIL_SYS::宝贝不存在"]})");
    items.routes["/d?id=2"] = reply("200 OK", R"({"ret":["FAIL_BIZ::请稍后再试"]})");
    items.routes["/d?id=3"] = reply("200 OK", "<html>not json</html>");
    items.routes["/d?id=4"] = reply("200 OK", R"({"ret":["SUCCESS"]})");
    items.routes["/d?id=5"] = reply("200 OK", detailJson(""));
    items.routes["/d?id=6"] = reply("500 Internal Server Error", "", "X-Why: busy\r\n");
    setTemplate(items.url("/d?id=%s"));
    struct Case {
        const char* id;
        std::string box;
        int link;
    };
    const Case cases[] = {
        {"1", "宝贝不存在或已被删除！", 1},
        {"2", "FAIL_BIZ::请稍后再试", 1},
        {"3", "无法解析宝贝的JSON数据，请检查宝贝地址输入是否正确。", 1},
        {"4", "", 1},
        {"5", "宝贝图片列表为空", 0},
        {"6", "获取宝贝图片列表时出错:\n\nHTTP/1.1 500 Internal Server Error\r\nContent-Length: 0\r\nX-Why: busy", 1},
    };
    for (const Case& c : cases) {
        boxes().clear();
        linkShown() = 0;
        LoadItemRequest r = request(std::string("https://item.example/item.htm?id=") + c.id);
        loadItemPictures(&r);
        std::string shown = boxes().empty() ? "" : boxes()[0].text;
        EXPECT_EQ(shown.substr(0, c.box.size()), c.box) << c.id;
        EXPECT_LE(boxes().size(), 1u) << c.id;
        EXPECT_EQ(linkShown(), c.link) << c.id;
        EXPECT_EQ(waitCursor(), 0) << c.id;
    }
    EXPECT_EQ(pictureCount(), 0);
}

TEST_F(ImportFixture, MobileApiAppendsTheIdToTheTemplate) {
    PictureServer pictures(&serverCertificate());
    PictureServer items;
    items.routes["/cache/wdetail/5.0/?id=88&"] =
        reply("200 OK", mobileJson("\"" + pictures.url("/p/m.jpg") + "\"", R"({"imgUrl":")" + pictures.url("/p/c.jpg") + "\"}"));
    setTemplate(items.url("/cache/wdetail/5.0/?id="));
    LoadItemRequest r = request("https://item.example/item.htm?id=88", 1);
    loadItemPicturesByMobileApi(&r);
    EXPECT_EQ(pictureCount(), 1);
    EXPECT_EQ(pictures.requestsFor("/p/c.jpg"), 1);
    EXPECT_EQ(pictures.requestsFor("/p/m.jpg"), 0);

    r = request("https://item.example/item.htm?id=abc");
    loadItemPicturesByMobileApi(&r);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"输入的宝贝地址不符合规范！"});
}

TEST_F(ImportFixture, ServiceApiListsAddressesOnePerLine) {
    PictureServer pictures;
    PictureServer service;
    std::string list = pictures.url("/p/1.jpg") + "\n" + pictures.url("/p/2.jpg") + "\n\n" + pictures.url("/p/3.jpg");
    service.routes["/getProductImg/API.asp?v=10.5&sid=cba&baobeiURL=https%3A%2F%2Fitem.example%2Fi%3Fid%3D1&m=2&"] =
        reply("200 OK", list);
    service.routes["/getProductImg/API.asp?v=10.5&sid=cba&baobeiURL=https%3A%2F%2Fitem.example%2Fi%3Fid%3D2&m=0&"] =
        reply("200 OK", "\n");
    service.routes["/getProductImg/API.asp?v=10.5&sid=cba&baobeiURL=https%3A%2F%2Fitem.example%2Fi%3Fid%3D3&m=0&"] =
        reply("200 OK", "\xC7\xEB\xC9\xFD\xBC\xB6", "Content-Type: text/plain; charset=gbk\r\n");
    service.routes["/getProductImg/API.asp?v=10.5&sid=cba&baobeiURL=https%3A%2F%2Fitem.example%2Fi%3Fid%3D5&m=0&"] =
        reply("200 OK", "");
    serviceHost = service.url("");
    std::strcpy(userId, "abc");

    LoadItemRequest r = request("https://item.example/i?id=1", 2);
    loadItemPicturesByService(&r);
    EXPECT_EQ(pictureCount(), 2);
    EXPECT_EQ(pictures.requestsFor("/p/3.jpg"), 0);

    r = request("https://item.example/i?id=2");
    loadItemPicturesByService(&r);
    r = request("https://item.example/i?id=3");
    loadItemPicturesByService(&r);
    r = request("https://item.example/i?id=4");
    loadItemPicturesByService(&r);
    r = request("https://item.example/i?id=5");
    loadItemPicturesByService(&r);
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"宝贝图片列表为空", "请升级",
                                                    "获取宝贝图片列表时出错，可以重试一次，或进入官网联系我们的客服。",
                                                    "宝贝图片列表为空"}));
    EXPECT_EQ(boxes()[2].caption, "错误");
    EXPECT_EQ(waitCursor(), 0);
}

TEST_F(ImportFixture, WithoutAServiceOnlyDirectAddressesLoad) {
    PictureServer pictures;
    serviceHost.clear();
    itemUrlTemplate[0] = '\0';
    LoadItemRequest item = request("https://item.example/item.htm?id=9");
    loadItemPictures(&item);
    loadItemPicturesByService(&item);
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{kNotConfigured, kNotConfigured}));

    LoadItemRequest direct = request(pictures.url("/p/1.jpg"));
    loadItemPictures(&direct);
    EXPECT_EQ(pictureCount(), 1);
}

TEST_F(ImportFixture, ModesRouteAddresses) {
    PictureServer service;
    serviceHost = service.url("");
    service.routes["/getProductImg/API.asp?v=10.5&sid=&baobeiURL=https%3A%2F%2Fdetail.1688.com%2Foffer%2F1.html&m=0&"] =
        reply("200 OK", "\n");
    struct Case {
        int mode;
        ItemPictureLoader loader;
        const char* address;
        const char* box;
        int serviceCalls;
    };
    const Case cases[] = {
        {6, loadItemPictures, "https://item.example/item.htm?id=1", "输入的图片地址不符合规范！", 0},
        {5, loadItemPictures, "https://detail.1688.com/offer/1.html", "输入的宝贝地址不符合规范！", 0},
        {3, loadItemPictures, "https://detail.1688.com/offer/1.html", "宝贝图片列表为空", 1},
        {5, loadItemPictures, "https://item.example/item.htm?id=1.5x", "输入的宝贝地址不符合规范！", 0},
        // Mode 4 hands wholesale addresses from the service loader to the chosen one.
        {4, loadItemPicturesByService, "https://detail.1688.com/offer/1.html", "输入的宝贝地址不符合规范！", 0},
        {0, loadItemPicturesByService, "https://detail.1688.com/offer/1.html", "宝贝图片列表为空", 1},
    };
    userId[0] = '\0';
    for (const Case& c : cases) {
        boxes().clear();
        int before = service.server.requests();
        itemPictureMode = c.mode;
        LoadItemRequest r = request(c.address);
        c.loader(&r);
        EXPECT_EQ(boxTexts(), std::vector<std::string>{c.box}) << c.mode << " " << c.address;
        EXPECT_EQ(service.server.requests() - before, c.serviceCalls) << c.mode << " " << c.address;
    }
}

TEST_F(ImportFixture, UnconfirmedOrBlankRequestsDoNothing) {
    PictureServer server;
    LoadItemRequest cancelled = request(server.url("/p/1.jpg"));
    cancelled.ok = 0;
    loadItemPictures(&cancelled);
    LoadItemRequest blank = request(" \t\r\n ");
    loadItemPictures(&blank);
    loadItemPicturesByService(&blank);
    loadItemPicturesByMobileApi(&blank);
    EXPECT_EQ(server.server.requests(), 0);
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(dialogRuns(), 0);
}

TEST_F(ImportFixture, CommandAsksTheDialogAndUsesTheChosenLoader) {
    PictureServer pictures;
    PictureServer items;
    items.routes["/m/?id=4&"] = reply("200 OK", mobileJson("\"" + pictures.url("/p/1.jpg") + "\""));

    // Cancelled: nothing happens.
    loadItemPicturesCommand();
    EXPECT_EQ(dialogRuns(), 1);

    dialogAnswer() = request(pictures.url("/p/1.jpg"));
    loadItemPicturesCommand();
    EXPECT_EQ(pictureCount(), 1);

    // A template that names the mobile item service selects its loader.
    setTemplate("https://hws.m.taobao.com/cache/wdetail/5.0/?id=");
    chooseItemPictureLoader();
    EXPECT_EQ(itemPictureLoader.load(), &loadItemPicturesByMobileApi);
    setTemplate(items.url("/m/?id="));
    dialogAnswer() = request("https://item.example/item.htm?id=4");
    loadItemPicturesCommand();
    EXPECT_EQ(pictureCount(), 2);
    EXPECT_EQ(items.requestsFor("/m/?id=4&"), 1);

    setTemplate(items.url("/d?id=%s"));
    chooseItemPictureLoader();
    EXPECT_EQ(itemPictureLoader.load(), &loadItemPictures);
}

TEST_F(ImportFixture, UnusableWorkFolderIsReportedNotSkipped) {
    PictureServer server;
    workFolder = folder / "missing";
    LoadItemRequest r = request(server.url("/p/1.jpg") + ";" + server.url("/p/2.jpg"));
    loadItemPictures(&r);
    EXPECT_EQ(server.server.requests(), 0);
    EXPECT_EQ(pictureCount(), 0);
    EXPECT_EQ(infoLogText(), "文件写入数据失败:\r\n" + folder / "missing" + "\r\n可能是磁盘可用空间不足。\r\n\r\n");

    // A folder gone in the middle of the import: the log says what failed, not that the disk is full.
    workFolder = folder.path();
    clearInfoLog();
    static const LoadItemCommandsHandler folderGoes = {nullptr, nullptr, removeDownloadFolder};
    setLoadItemCommandsHandler(&folderGoes);
    downloadItemPictures({server.url("/p/3.jpg")});
    EXPECT_EQ(infoLogText().rfind("创建图片文件失败:\r\n", 0), 0u) << infoLogText();
    EXPECT_NE(infoLogText().find("fopen() failed: No such file or directory"), std::string::npos) << infoLogText();
}

TEST_F(ImportFixture, AnImportClosesItsIdleConnectionsWhenItEnds) {
    PictureServer server;
    downloadItemPictures({server.url("/p/1.jpg"), server.url("/p/2.jpg")});
    EXPECT_EQ(server.server.connections(), 1) << "one kept-alive connection for both pictures";
    downloadItemPictures({server.url("/p/3.jpg")});
    EXPECT_EQ(server.server.connections(), 2);
    EXPECT_EQ(pictureCount(), 3);
}

namespace {

// Set by the slow picture's server once its body has begun.
std::atomic<bool> slowBodyBegun{false};

// Plays the user who presses Escape while the slow picture downloads,
// noting that the import said it was running.
std::atomic<bool> sawImportRunning{false};
void escapeDuringTheSlowPicture() {
    if (itemImportRunning()) sawImportRunning = true;
    if (slowBodyBegun) stopItemImport();
}
const LoadItemCommandsHandler userStops = {nullptr, nullptr, escapeDuringTheSlowPicture};

} // namespace

TEST_F(ImportFixture, ASlowDownloadEndsByItsDeadlineOrWhenTheUserStops) {
    const struct {
        const char* name;
        int deadlineMs;
        const LoadItemCommandsHandler* user;
        int pictures;
        int thirdFetched;
        bool deadlineLogged;
    } cases[] = {
        {"the time runs out", 1000, nullptr, 2, 1, true},
        {"the user stops", 60000, &userStops, 1, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        freePictureList();
        initPictureList();
        removeDownloadFolder();
        clearInfoLog();
        slowBodyBegun = false;
        sawImportRunning = false;
        std::atomic<bool> finished{false};
        PictureServer server;
        // A byte now and then: no single read waits long, the whole never ends.
        TestServer slow([&finished](ServerExchange& x) {
            x.send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n");
            slowBodyBegun = true;
            while (!finished) {
                x.send("x");
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
        pictureDownloadDeadlineMs = c.deadlineMs;
        if (c.user) setLoadItemCommandsHandler(c.user);
        const std::string slowUrl = slow.url("/p/slow.jpg");
        downloadItemPictures({server.url("/p/1.jpg"), slowUrl, server.url("/p/3.jpg")});
        finished = true;

        EXPECT_FALSE(itemImportRunning());
        EXPECT_EQ(sawImportRunning.load(), c.user != nullptr);
        EXPECT_EQ(pictureCount(), c.pictures);
        EXPECT_EQ(downloadedFiles().size(), static_cast<size_t>(c.pictures)) << "the slow picture leaves no file";
        EXPECT_EQ(server.requestsFor("/p/3.jpg"), c.thirdFetched);
        EXPECT_EQ(slow.requests(), 1) << "a download that ran out of time is not tried again";
        const std::string logged = "下载宝贝图片失败:\r\n" + slowUrl + "\r\n返回的错误信息:\r\n下载时间超过了 1 秒\r\n\r\n\r\n";
        EXPECT_EQ(infoLogText(), c.deadlineLogged ? logged : "");
        EXPECT_EQ(waitCursor(), 0);
    }
}

TEST_F(ImportFixture, ASlowPictureListEndsByItsDeadlineOrWhenTheUserStops) {
    const struct {
        const char* name;
        int deadlineMs;
        const LoadItemCommandsHandler* user;
        bool boxShown;
    } cases[] = {
        {"the time runs out", 1000, nullptr, true},
        {"the user stops", 60000, &userStops, false},
    };
    // The retry with the cookie has no time of its own.
    std::strcpy(itemRequestCookie, "t=abc");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        boxes().clear();
        slowBodyBegun = false;
        sawImportRunning = false;
        std::atomic<bool> finished{false};
        TestServer slow([&finished](ServerExchange& x) {
            x.send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n");
            slowBodyBegun = true;
            while (!finished) {
                x.send("{");
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
        setTemplate(slow.url("/d?id=%s"));
        pictureDownloadDeadlineMs = c.deadlineMs;
        if (c.user) setLoadItemCommandsHandler(c.user);
        LoadItemRequest r = request("https://item.example/item.htm?id=5");
        loadItemPictures(&r);
        finished = true;

        EXPECT_FALSE(itemImportRunning());
        EXPECT_EQ(sawImportRunning.load(), c.user != nullptr) << "a close waits for the list request too";
        EXPECT_EQ(slow.requests(), 1);
        EXPECT_EQ(pictureCount(), 0);
        const std::vector<std::string> texts = boxTexts();
        ASSERT_EQ(texts.size(), c.boxShown ? 1u : 0u);
        if (c.boxShown) {
            EXPECT_NE(texts[0].find("下载时间超过了 1 秒"), std::string::npos) << texts[0];
        }
        EXPECT_EQ(waitCursor(), 0);
    }
}

TEST_F(ImportFixture, AReplyOfThousandsOfDeadAddressesEndsAfterTheBound) {
    TestServer dead([](ServerExchange& x) { x.send(reply("404 Not Found", "")); });
    std::vector<std::string> addresses;
    for (int i = 0; i < 3000; ++i) addresses.push_back(dead.url("/p/" + std::to_string(i) + ".jpg"));
    downloadItemPictures(addresses);

    std::set<std::string> tried;
    for (const ServerRequest& r : dead.seen()) tried.insert(r.target);
    EXPECT_EQ(tried.size(), 240u) << "four times the 60 pictures the list may hold";
    EXPECT_EQ(tried.count("/p/239.jpg"), 1u);
    ASSERT_FALSE(statusLog().empty());
    EXPECT_EQ(statusLog().front(), "下载宝贝图片: 1 / 240 - 按 Esc 键停止");
    const std::string skipped = "宝贝图片地址太多: 只尝试了前 240 个地址, 跳过了 2760 个。\r\n\r\n";
    const std::string log = infoLogText();
    ASSERT_GE(log.size(), skipped.size());
    EXPECT_EQ(log.substr(log.size() - skipped.size()), skipped);
    EXPECT_EQ(pictureCount(), 0);
}
