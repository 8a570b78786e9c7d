#include "net/error_report.h"
#include "net/url_encoding.h"

#include "http_test_support.h"
#include "service_test_support.h"
#include "test_server.h"

#include "foundation/temp_folder.h"
#include "net/socket_watch.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

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
        requestDeadlineMs = savedDeadline;
        networkEnding = false;
        ServiceGlobalsFixture::TearDown();
    }
    int savedDeadline = requestDeadlineMs.load();
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

// The log lies in the data folder only when that folder is the user's
// alone, and is appended to only when it is the user's own regular file: a
// link, FIFO or another user's file planted there, or a data folder that is
// a link or another user's, gets nothing and holds nobody up.
TEST_F(ErrorReportFixture, TheLogIsWrittenOnlyWhereNobodyElseCanReachIt) {
    const struct {
        const char* name;
        bool rootOnly;
        bool written;
        // Prepares the data home; returns the file that must not get the report.
        std::string (*prepare)(const TempFolder& data);
    } cases[] = {
        {"a fresh data folder", false, true, [](const TempFolder& data) { return data / "Tevrako/error_report.log"; }},
        {"the user's data folder, open to others", false, true,
         [](const TempFolder& data) {
             EXPECT_EQ(chmod(data.folder("Tevrako").c_str(), 0777), 0);
             return data / "Tevrako/error_report.log";
         }},
        {"a link at the log", false, false,
         [](const TempFolder& data) {
             const std::string target = data.write("target", "mine\n");
             EXPECT_EQ(chmod(data.folder("Tevrako").c_str(), 0700), 0);
             EXPECT_EQ(symlink(target.c_str(), (data / "Tevrako/error_report.log").c_str()), 0);
             return target;
         }},
        {"a FIFO at the log", false, false,
         [](const TempFolder& data) {
             EXPECT_EQ(chmod(data.folder("Tevrako").c_str(), 0700), 0);
             EXPECT_EQ(mkfifo((data / "Tevrako/error_report.log").c_str(), 0600), 0);
             return data / "Tevrako/error_report.log";
         }},
        {"another user's log", true, false,
         [](const TempFolder& data) {
             EXPECT_EQ(chmod(data.folder("Tevrako").c_str(), 0700), 0);
             const std::string log = data.write("Tevrako/error_report.log", "theirs\n");
             EXPECT_EQ(chown(log.c_str(), 65534, 65534), 0);
             return log;
         }},
        {"a data folder that is a link", false, false,
         [](const TempFolder& data) {
             EXPECT_EQ(symlink(data.folder("elsewhere").c_str(), (data / "Tevrako").c_str()), 0);
             return data / "elsewhere/error_report.log";
         }},
        {"another user's data folder", true, false,
         [](const TempFolder& data) {
             const std::string theirs = data.folder("Tevrako");
             EXPECT_EQ(chmod(theirs.c_str(), 0777), 0);
             EXPECT_EQ(chown(theirs.c_str(), 65534, 65534), 0);
             return theirs + "/error_report.log";
         }},
    };
    for (const auto& c : cases) {
        if (c.rootOnly && geteuid() != 0) continue;  // only root can give a file away
        SCOPED_TRACE(c.name);
        TempFolder data;
        setenv("XDG_DATA_HOME", data.path().c_str(), 1);
        const std::string watched = c.prepare(data);
        EXPECT_TRUE(endsInTime(data, [] { sendErrorReport("AppCrash", "exceptionCode:0xb"); }));
        struct stat watchedInfo {};
        const bool file = lstat(watched.c_str(), &watchedInfo) == 0 && S_ISREG(watchedInfo.st_mode);
        const bool reported = file && readTextFile(watched).find("exceptionCode:0xb") != std::string::npos;
        EXPECT_EQ(reported, c.written);
        if (c.written) {
            struct stat info {};
            ASSERT_EQ(stat((data / "Tevrako").c_str(), &info), 0);
            EXPECT_EQ(info.st_mode & 0777, 0700u);
        }
    }
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

TEST_F(ErrorReportFixture, AServiceHostThatTricklesIsGivenUpByTheDeadlineOrTheProgramsEnd) {
    // A byte every two seconds: the reply head alone would take more than a minute.
    TestServer host([](ServerExchange& x) { x.trickle(reply("200 OK", "ok"), 2000); });
    serviceHost = host.url("");
    const struct {
        const char* where;
        int deadlineMs;
        int endAfterMs;  // the program ends this long after the report began; -1 never
        int atLeastMs, beforeMs;
    } cases[] = {
        {"deadline", 1500, -1, 1400, 4000},
        {"end_during_request", 60000, 300, 250, 1800},
        {"end_before_request", 60000, 0, 0, 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        requestDeadlineMs = c.deadlineMs;
        networkEnding = c.endAfterMs == 0;
        std::thread end;
        if (c.endAfterMs > 0) {
            end = std::thread([&c] {
                std::this_thread::sleep_for(std::chrono::milliseconds(c.endAfterMs));
                networkEnding = true;
            });
        }
        auto start = std::chrono::steady_clock::now();
        sendErrorReport(c.where, "编码器退出");
        auto tookMs = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        if (end.joinable()) end.join();
        EXPECT_GE(tookMs.count(), c.atLeastMs);
        EXPECT_LT(tookMs.count(), c.beforeMs);
        // Not sent, so kept in the log.
        EXPECT_NE(logText().find(std::string(c.where) + " (v"), std::string::npos) << logText();
    }
}
