#include "net/http_download.h"

#include "http_test_support.h"
#include "test_server.h"

#include "foundation/temp_folder.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

struct DownloadFixture : HttpFixture {
    TempFolder folder;
};

struct ResultFree {
    void operator()(HttpDownloadResult* r) const { http_download_result_free(r); }
};
using ResultPtr = std::unique_ptr<HttpDownloadResult, ResultFree>;

ResultPtr download(const std::string& url, const std::filesystem::path& file) {
    return ResultPtr(http_download_file(url.c_str(), nullptr, nullptr, 1, 0, file.c_str()));
}

std::string contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TEST_F(DownloadFixture, BodyGoesIntoANewFile) {
    std::string picture(70000, '\xFF');
    TestServer server([&](ServerExchange& x) {
        const std::string& path = x.request.target;
        if (path == "/pic.jpg") x.sendSplit(reply("200 OK", picture), 10000, 1);
        if (path == "/chunked.jpg") x.send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n");
        if (path == "/moved") x.send(reply("302 Found", "", "Location: /pic.jpg_.webp\r\n"));
        if (path == "/pic.jpg_.webp") x.send(reply("200 OK", "webp"));
    });
    auto r = download(server.url("/pic.jpg"), folder / "a.jpg");
    ASSERT_EQ(r->ok, 1) << r->errorMessage;
    EXPECT_EQ(r->size, picture.size());
    EXPECT_EQ(contents(folder / "a.jpg"), picture);

    r = download(server.url("/chunked.jpg"), folder / "b.jpg");
    ASSERT_EQ(r->ok, 1) << r->errorMessage;
    EXPECT_EQ(contents(folder / "b.jpg"), "abc");

    // A redirect to a "_.webp" address fetches the address without it.
    r = download(server.url("/moved"), folder / "c.jpg");
    ASSERT_EQ(r->ok, 1) << r->errorMessage;
    EXPECT_EQ(contents(folder / "c.jpg"), picture);
}

TEST_F(DownloadFixture, ExistingFilesAreNeverOverwrittenOrRemoved) {
    TestServer server([](ServerExchange& x) { x.send(reply("200 OK", "new")); });
    std::ofstream(folder / "mine.jpg") << "precious";
    auto r = download(server.url("/x"), folder / "mine.jpg");
    EXPECT_EQ(r->ok, 0);
    EXPECT_EQ(r->errorKind, 3);
    EXPECT_STREQ(r->errorMessage, "fopen() failed: File exists");
    EXPECT_EQ(contents(folder / "mine.jpg"), "precious");
}

TEST_F(DownloadFixture, FailedDownloadLeavesNoFile) {
    TestServer server([](ServerExchange& x) {
        if (x.request.target == "/cut") x.send("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc");
        if (x.request.target == "/huge") x.send("HTTP/1.1 200 OK\r\nContent-Length: 10485761\r\n\r\n");
        if (x.request.target == "/missing") x.send(reply("404 Not Found", ""));
        x.close();
    });
    auto r = download(server.url("/cut"), folder / "cut.jpg");
    EXPECT_EQ(r->ok, 0);
    EXPECT_EQ(r->errorKind, 2);
    EXPECT_FALSE(std::filesystem::exists(folder / "cut.jpg"));

    r = download(server.url("/huge"), folder / "huge.jpg");
    EXPECT_STREQ(r->errorMessage, "header.contentLength: 10485761, >允许的最大值: 10485760");
    r = download(server.url("/missing"), folder / "missing.jpg");
    EXPECT_STREQ(r->errorMessage, "404 Not Found - 文件不存在");
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}
