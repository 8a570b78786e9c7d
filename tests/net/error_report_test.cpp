#include "net/error_report.h"

#include "foundation/globals.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

struct TempStateHome : ::testing::Test {
    std::filesystem::path folder;
    std::string savedHost;
    void SetUp() override {
        char pattern[] = "/tmp/tevrako-state-XXXXXX";
        folder = mkdtemp(pattern);
        setenv("XDG_STATE_HOME", folder.c_str(), 1);
        savedHost = serviceHost;
        serviceHost.clear();
    }
    void TearDown() override {
        serviceHost = savedHost;
        unsetenv("XDG_STATE_HOME");
        std::filesystem::remove_all(folder);
    }
    std::string logText() {
        std::ifstream in(errorReportLogPath());
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

} // namespace

TEST_F(TempStateHome, WithoutServiceHostReportsAreAppendedToTheLog) {
    EXPECT_EQ(errorReportLogPath(), (folder / "Tevrako/error_report.log").string());
    sendErrorReport("thread_make_video", "编码器退出\n错误码: 1");
    sendErrorReport("AppCrash", nullptr);
    std::string text = logText();
    size_t first = text.find("thread_make_video (v10.5");
    ASSERT_NE(first, std::string::npos) << text;
    EXPECT_NE(text.find("编码器退出\n错误码: 1\n", first), std::string::npos);
    EXPECT_GT(text.find("AppCrash"), first);
}
