#include "foundation/shell.h"
#include "foundation/temp_folder.h"
#include "platform/process_spawn.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::vector<std::string>> launched;

bool recordLaunch(const std::vector<std::string>& argv) {
    launched.push_back(argv);
    return true;
}

std::string readAll(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TEST(Shell, OpenPassesTargetAsOneArgument) {
    SpawnHandler previous = setSpawnHandler(recordLaunch);
    launched.clear();
    EXPECT_EQ(shellOpen("https://example.test/a b?x=1&y=$(rm -rf ~);z"), 1);
    EXPECT_EQ(shellOpen("/home/u/我的主图视频/a.mp4"), 1);
    EXPECT_EQ(shellOpen("--help"), 0);
    EXPECT_EQ(shellOpen("a\nb"), 0);
    EXPECT_EQ(shellOpen(""), 0);
    EXPECT_EQ(shellOpen(nullptr), 0);
    setSpawnHandler(previous);
    ASSERT_EQ(launched.size(), 2u);
    EXPECT_EQ(launched[0], (std::vector<std::string>{"xdg-open", "https://example.test/a b?x=1&y=$(rm -rf ~);z"}));
    EXPECT_EQ(launched[1][1], "/home/u/我的主图视频/a.mp4");
}

TEST(Shell, BrowserGetsTheAddressAsOneArgument) {
    SpawnHandler previous = setSpawnHandler(recordLaunch);
    launched.clear();
    EXPECT_EQ(openUrlInBrowser("https://example.test/help.html"), 1);
    EXPECT_EQ(openUrlInBrowser("\"/opt/tevrako/play.html\""), 1);  // quotes are not part of it
    EXPECT_EQ(openUrlInBrowser("-x"), 0);
    EXPECT_EQ(openUrlInBrowser(nullptr), 0);
    setSpawnHandler(previous);
    ASSERT_EQ(launched.size(), 2u);
    EXPECT_EQ(launched[0], (std::vector<std::string>{"xdg-open", "https://example.test/help.html"}));
    EXPECT_EQ(launched[1][1], "/opt/tevrako/play.html");
}

TEST(Shell, ShortcutIsADesktopEntry) {
    TempFolder temp;
    std::string link = temp / "主图视频.desktop";
    EXPECT_EQ(createShortcut("/opt/my apps/tevrako", "--size \"a b\" 100%", link.c_str(), "主图视频制作", 5,
                             "/opt/my apps", "/opt/my apps/icon.png", 0),
              SHORTCUT_OK);
    std::string entry = readAll(link);
    EXPECT_EQ(entry,
              "[Desktop Entry]\nType=Application\nVersion=1.0\nName=主图视频\nComment=主图视频制作\n"
              "Exec=\"/opt/my apps/tevrako\" --size \"a b\" 100%%\nPath=/opt/my apps\n"
              "Icon=/opt/my apps/icon.png\nTerminal=false\n");
    auto permissions = std::filesystem::status(link).permissions();
    EXPECT_NE(permissions & std::filesystem::perms::owner_exec, std::filesystem::perms::none);
}

TEST(Shell, MinimalShortcutAndEscapes) {
    TempFolder temp;
    std::string link = temp / "a.desktop";
    EXPECT_EQ(createShortcut("/bin/it's$\\", "", link.c_str(), "", 0, "", "", 0), SHORTCUT_OK);
    EXPECT_EQ(readAll(link),
              "[Desktop Entry]\nType=Application\nVersion=1.0\nName=a\n"
              "Exec=\"/bin/it's\\\\$\\\\\\\\\"\nTerminal=false\n");
}

TEST(Shell, ShortcutRefusesBadArguments) {
    TempFolder temp;
    std::string link = temp / "x.desktop";
    const char* p = link.c_str();
    EXPECT_EQ(createShortcut("", "", p, "", 0, "", "", 0), SHORTCUT_INVALID_ARGUMENT);
    EXPECT_EQ(createShortcut("/bin/t", nullptr, p, "", 0, "", "", 0), SHORTCUT_INVALID_ARGUMENT);
    EXPECT_EQ(createShortcut("/bin/t", "", "", "", 0, "", "", 0), SHORTCUT_INVALID_ARGUMENT);
    EXPECT_EQ(createShortcut("/bin/t", "", p, nullptr, 0, "", "", 0), SHORTCUT_INVALID_ARGUMENT);
    EXPECT_EQ(createShortcut("/bin/t", "", p, "", -1, "", "", 0), SHORTCUT_INVALID_ARGUMENT);
    EXPECT_EQ(createShortcut("/bin/t", "", p, "", 0, nullptr, "", 0), SHORTCUT_INVALID_ARGUMENT);
    EXPECT_EQ(createShortcut("/bin/t", "", p, "", 0, "", "", -1), SHORTCUT_INVALID_ARGUMENT);
    EXPECT_EQ(createShortcut("/bin/t", "", p, "two\nlines", 0, "", "", 0), SHORTCUT_INVALID_ARGUMENT);
    EXPECT_FALSE(std::filesystem::exists(link));
    EXPECT_LT(createShortcut("/bin/t", "", (temp / "missing/x.desktop").c_str(), "", 0, "", "", 0), 0);
}
