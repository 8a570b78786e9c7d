#include "net/error_report.h"
#include "net/url_encoding.h"

#include "http_test_support.h"
#include "service_test_support.h"
#include "test_server.h"

#include "foundation/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace {

struct ErrorReportFixture : ServiceGlobalsFixture {
    TempFolder folder;
    void SetUp() override {
        HttpFixture::SetUpTestSuite();
        setenv("XDG_DATA_HOME", folder.path().c_str(), 1);
        serviceHost.clear();
    }
    void TearDown() override {
        unsetenv("XDG_DATA_HOME");
        ServiceGlobalsFixture::TearDown();
    }
    std::string logText() { return readTextFile(errorReportLogPath()); }
};

std::map<std::string, std::string> queryOf(const std::string& target) {
    std::map<std::string, std::string> fields;
    std::string query = target.substr(target.find('?') + 1);
    size_t start = 0;
    while (start < query.size()) {
        size_t end = query.find('&', start);
        if (end == std::string::npos) end = query.size();
        std::string pair = query.substr(start, end - start);
        size_t equals = pair.find('=');
        std::string value = pair.substr(equals + 1);
        value.resize(static_cast<size_t>(url_decode(value.data(), static_cast<int>(value.size()))));
        fields[pair.substr(0, equals)] = value;
        start = end + 1;
    }
    return fields;
}

} // namespace

TEST_F(ErrorReportFixture, WithoutServiceHostReportsAreAppendedToTheLog) {
    EXPECT_EQ(errorReportLogPath(), folder / "Tevrako/error_report.log");
    sendErrorReport("thread_make_video", "编码器退出\n错误码: 1");
    sendErrorReport("AppCrash", nullptr);
    std::string text = logText();
    size_t first = text.find("thread_make_video (v10.5");
    ASSERT_NE(first, std::string::npos) << text;
    EXPECT_NE(text.find("编码器退出\n错误码: 1\n", first), std::string::npos);
    EXPECT_GT(text.find("AppCrash"), first);
}

TEST_F(ErrorReportFixture, ReportReachesTheServiceHostWithEveryField) {
    TestServer server([](ServerExchange& x) { x.send(reply("200 OK", "ok")); });
    serviceHost = server.url("");
    std::strcpy(userId, "u&1");
    sendErrorReport("validateImageMagick", "自检失败: a+b&c=d");
    ASSERT_EQ(server.requests(), 1);
    ServerRequest seen = server.seen()[0];
    EXPECT_EQ(seen.target.rfind("/report.asp?", 0), 0u) << seen.target;
    auto fields = queryOf(seen.target);
    EXPECT_EQ(fields["where"], "validateImageMagick");
    EXPECT_EQ(fields["msg"], "自检失败: a+b&c=d");
    EXPECT_EQ(fields["v"], "10.5");
    EXPECT_EQ(fields["uid"], "u&1");
    EXPECT_FALSE(fields["os"].empty());
    EXPECT_FALSE(fields["cpu"].empty());
    EXPECT_FALSE(std::filesystem::exists(errorReportLogPath()));
}

TEST_F(ErrorReportFixture, UnreachableServiceHostFallsBackToTheLog) {
    int port;
    {
        TestServer gone([](ServerExchange&) {});
        port = gone.port();
    }
    serviceHost = "127.0.0.1:" + std::to_string(port);
    sendErrorReport("thread_run_ffmpeg_by_named_pipe", "管道连接失败");
    EXPECT_NE(logText().find("管道连接失败"), std::string::npos);
}
