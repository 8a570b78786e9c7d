#include "net/crash_report.h"
#include "net/error_report.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "foundation/temp_folder.h"
#include "platform/crash_child.h"
#include "platform/message_box.h"
#include "platform/process_spawn.h"
#include "service_test_support.h"

namespace {

struct Box {
    void* owner;
    std::string text, caption;
    unsigned type;
};
std::vector<Box> boxes;
std::vector<std::vector<std::string>> launched;

int recordBox(void* owner, const std::string& text, const std::string& caption, unsigned type) {
    boxes.push_back({owner, text, caption, type});
    return IDOK;
}

bool recordLaunch(const std::vector<std::string>& argv) {
    launched.push_back(argv);
    return true;
}

struct CrashReport : ServiceGlobalsFixture {
    TempFolder folder;
    std::string records = folder / "crashes";
    MessageBoxHandler previousBox = nullptr;
    SpawnHandler previousSpawn = nullptr;
    void* previousOwner = hwndMain;

    void SetUp() override {
        setenv("XDG_DATA_HOME", folder.path().c_str(), 1);
        serviceHost.clear();
        boxes.clear();
        launched.clear();
        previousBox = setMessageBoxHandler(recordBox);
        previousSpawn = setSpawnHandler(recordLaunch);
    }
    void TearDown() override {
        setMessageBoxHandler(previousBox);
        setSpawnHandler(previousSpawn);
        hwndMain = previousOwner;
        unsetenv("XDG_DATA_HOME");
        ServiceGlobalsFixture::TearDown();
    }
    std::string logText() { return readTextFile(errorReportLogPath()); }
    static size_t occurrences(const std::string& text, const std::string& part) {
        size_t count = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
        return count;
    }
};

} // namespace

TEST(CrashText, SignalAndInstructionInHex) {
    EXPECT_EQ(crashText({11, 0x401A2F}), "exceptionCode:0xb, EIP=0x0000000000401A2F");
    EXPECT_EQ(crashText({6, 0}), "exceptionCode:0x6, EIP=0x0000000000000000");
}

TEST_F(CrashReport, ACrashedChildIsReportedAtTheNextStartExactlyOnce) {
    int status = crash_test::crashInChild(records, crash_test::writeToProtectedPage);
    ASSERT_TRUE(WIFSIGNALED(status));
    supportSite = "https://support.example";
    int owner = 0;
    hwndMain = &owner;

    EXPECT_EQ(reportPendingCrash(records), 1);
    std::string log = logText();
    EXPECT_EQ(occurrences(log, "AppCrash"), 1u) << log;
    EXPECT_EQ(occurrences(log, "exceptionCode:0xb, EIP=0x"), 1u) << log;
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, &owner);
    EXPECT_EQ(boxes[0].text, "Tevrako 已停止工作。\n\n出现了一个问题，导致软件停止工作。请进入软件官网联系客服。");
    EXPECT_EQ(boxes[0].caption, "错误");
    EXPECT_EQ(boxes[0].type, MB_ICONERROR);
    ASSERT_EQ(launched.size(), 1u);
    ASSERT_EQ(launched[0].size(), 2u);
    const std::string page = launched[0][1];
    EXPECT_EQ(page.rfind("https://support.example/app_crash.asp?v=10.5&ecode=0xb&eip=0x", 0), 0u) << page;
    EXPECT_EQ(page.size(), std::string("https://support.example/app_crash.asp?v=10.5&ecode=0xb&eip=0x&").size() + 16);
    EXPECT_EQ(page.back(), '&');

    // The start after that finds nothing to report.
    EXPECT_EQ(reportPendingCrash(records), 0);
    EXPECT_EQ(logText(), log);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(launched.size(), 1u);
}

TEST_F(CrashReport, SeveralRecordsAreEachReportedUnderOneMessage) {
    folder.folder("crashes");
    folder.write("crashes/crash-10.record", "signal=6\nip=0x10\n");
    folder.write("crashes/crash-20.record", "signal=8\nip=0x20\n");
    supportSite.clear();  // no crash page without a support site

    EXPECT_EQ(reportPendingCrash(records), 2);
    std::string log = logText();
    EXPECT_EQ(occurrences(log, "exceptionCode:0x6, EIP=0x0000000000000010"), 1u) << log;
    EXPECT_EQ(occurrences(log, "exceptionCode:0x8, EIP=0x0000000000000020"), 1u) << log;
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(launched.empty());
    EXPECT_EQ(reportPendingCrash(records), 0);
}
