#include "ui/play_page.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>
#include <unistd.h>

#include "dialog_test_support.h"
#include "foundation/globals.h"
#include "foundation/temp_folder.h"
#include "platform/message_box.h"
#include "platform/process_spawn.h"

using namespace dialog_test;

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string between(const std::string& text, const std::string& from, const std::string& to) {
    std::size_t start = text.find(from);
    if (start == std::string::npos) return "<missing " + from + ">";
    start += from.size();
    return text.substr(start, text.find(to, start) - start);
}

TEST(PlayPage, NamesAreEscapedAndTheVideoIsAFileUrl) {
    const struct {
        const char* video;
        const char* title;
        const char* source;
    } cases[] = {
        {"/home/u/视频/a.mp4", "a.mp4", "file:///home/u/%E8%A7%86%E9%A2%91/a.mp4"},
        {"/tmp/<b>&\"x\" 'y'.mp4", "&lt;b&gt;&amp;&quot;x&quot; &#39;y&#39;.mp4",
         "file:///tmp/%3Cb%3E%26%22x%22%20%27y%27.mp4"},
        {"/tmp/<script>x.mp4", "&lt;script&gt;x.mp4", "file:///tmp/%3Cscript%3Ex.mp4"},
        {"/tmp/100%.mp4", "100%.mp4", "file:///tmp/100%25.mp4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.video);
        std::string page = playPageHtml(c.video);
        EXPECT_EQ(between(page, "<title>", "</title>"), c.title);
        EXPECT_EQ(between(page, "<video controls autoplay src=\"", "\""), c.source);
        EXPECT_EQ(page.find("<script>"), std::string::npos);
        EXPECT_EQ(page.find('\n'), std::string::npos);  // one line
    }
}

TEST(PlayPage, PageCarriesTheSwitchAndTheNotice) {
    supportSite = "https://site.example";
    std::string page = playPageHtml("/v/a.mp4");
    EXPECT_EQ(page.rfind("<!DOCTYPE HTML><html><head>", 0), 0u);
    EXPECT_NE(page.find("<option>黑色背景</option><option>白色背景</option></select>"), std::string::npos);
    EXPECT_NE(page.find("当前浏览器不支持播放mp4视频，支持的浏览器有360极速浏览器、搜狗浏览器、QQ浏览器等。"),
              std::string::npos);
    EXPECT_NE(page.find("您也可以下载 <a href='https://site.example/getPlayer.asp' target='_blank' "
                        "style='color:red'>射手影音播放器</a> 来播放视频。</font></video></body></html>"),
              std::string::npos);

    // Without a site the player is named but not linked.
    supportSite.clear();
    page = playPageHtml("/v/a.mp4");
    EXPECT_EQ(page.find("<a "), std::string::npos) << page;
    EXPECT_NE(page.find("您也可以下载 射手影音播放器 来播放视频。</font></video></body></html>"), std::string::npos);
}

std::vector<std::vector<std::string>> opened;
bool refuseVideo = true;

bool recordOpen(const std::vector<std::string>& argv) {
    opened.push_back(argv);
    return !(refuseVideo && argv.back().ends_with(".mp4"));
}

// The program folder and the data home are what the fallback depends on;
// both are put back after each test.
class PlayPageFallback : public testing::Test {
protected:
    void SetUp() override {
        savedFolder = programFolder;
        if (const char* data = std::getenv("XDG_DATA_HOME")) savedData = data;
        setSpawnHandler(recordOpen);
        opened.clear();
        refuseVideo = true;
    }
    void TearDown() override {
        setSpawnHandler(nullptr);
        programFolder = savedFolder;
        if (savedData) setenv("XDG_DATA_HOME", savedData->c_str(), 1);
        else unsetenv("XDG_DATA_HOME");
    }
    std::string savedFolder;
    std::optional<std::string> savedData;
    TempFolder temp;
};

// Which page the fallback writes and opens, by what can be written.
TEST_F(PlayPageFallback, WithoutAPlayerThePageOpensFromTheFirstWritableFolder) {
    std::string blocker = temp.write("file");  // a folder cannot be made under a file
    // A data folder that is a link to elsewhere is passed over as if it could not be made.
    const std::string elsewhere = temp.folder("elsewhere");
    temp.folder("linked");
    ASSERT_EQ(symlink(elsewhere.c_str(), (temp / "linked/Tevrako").c_str()), 0);
    const struct {
        const char* name;
        std::string program, data;
        std::string page;  // empty: the warning
    } cases[] = {
        {"program folder", temp.folder("prog"), temp / "data", temp / "prog/play.html"},
        {"data folder", blocker + "/prog", temp / "data", temp / "data/Tevrako/play.html"},
        {"neither", blocker + "/prog", blocker + "/data", ""},
        {"a data folder that is a link", blocker + "/prog", temp / "linked", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BoxRecorder boxes;
        opened.clear();
        programFolder = c.program;
        setenv("XDG_DATA_HOME", c.data.c_str(), 1);
        playGeneratedVideo(&boxes, "/v/a.mp4");
        ASSERT_GE(opened.size(), 1u);
        EXPECT_EQ(opened[0], (std::vector<std::string>{"xdg-open", "/v/a.mp4"}));
        if (c.page.empty()) {
            EXPECT_EQ(opened.size(), 1u);
            ASSERT_EQ(boxes.boxes.size(), 1u);
            EXPECT_EQ(boxes.boxes[0].caption, "提示");
            EXPECT_EQ(boxes.boxes[0].type, unsigned(MB_ICONWARNING));
            EXPECT_EQ(boxes.boxes[0].owner, &boxes);
            EXPECT_EQ(boxes.boxes[0].text.rfind("无法创建播放视频的HTML文件", 0), 0u);
        } else {
            ASSERT_EQ(opened.size(), 2u);
            EXPECT_EQ(opened[1], (std::vector<std::string>{"xdg-open", c.page}));
            EXPECT_EQ(readFile(c.page), playPageHtml("/v/a.mp4"));
            EXPECT_TRUE(boxes.boxes.empty());
        }
    }
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere));
}

TEST_F(PlayPageFallback, APlayerThatStartsNeedsNoPage) {
    refuseVideo = false;
    programFolder = temp.folder("prog");
    playGeneratedVideo(nullptr, "/v/a.mp4");
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(temp / "prog/play.html"));
}

TEST(PlayPage, WritingReportsFailure) {
    TempFolder temp;
    EXPECT_EQ(writePlayPage((temp / "play.html").c_str(), "/v/a.mp4"), 1);
    EXPECT_EQ(writePlayPage((temp / "missing/play.html").c_str(), "/v/a.mp4"), 0);
    EXPECT_EQ(writePlayPage(nullptr, "/v/a.mp4"), 0);
}

}  // namespace

// xdg-open starts but finds no program for MP4 files: the page opens after all.
TEST_F(PlayPageFallback, AnOpenerThatFindsNoPlayerBringsThePage) {
    setSpawnHandler(nullptr);
    programFolder = temp.folder("prog");
    std::string bin = temp.folder("bin");
    std::string log = temp / "opened.log";
    {
        std::ofstream script(bin + "/xdg-open");
        script << "#!/bin/sh\necho \"$1\" >> '" << log << "'\ncase \"$1\" in *.mp4) exit 3;; esac\n";
    }
    std::filesystem::permissions(bin + "/xdg-open", std::filesystem::perms::owner_all);
    const std::string savedPath = std::getenv("PATH");
    setenv("PATH", (bin + ":" + savedPath).c_str(), 1);
    playGeneratedVideo(nullptr, "/v/a.mp4");
    const std::string page = temp / "prog/play.html";
    for (int i = 0; i < 500 && readFile(log).find("play.html") == std::string::npos; ++i) {
        QCoreApplication::processEvents();  // the page is written on this thread
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    setenv("PATH", savedPath.c_str(), 1);
    EXPECT_EQ(readFile(log), "/v/a.mp4\n" + page + "\n");
    EXPECT_EQ(readFile(page), playPageHtml("/v/a.mp4"));
}
