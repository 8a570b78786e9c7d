#include "foundation/charset.h"
#include "foundation/file_path.h"
#include "platform/message_box.h"
#include "platform/process_spawn.h"
#include "foundation/temp_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::vector<std::string> drain(ArrayList* list) {
    std::vector<std::string> items;
    for (int i = 0; i < list->count; ++i) items.emplace_back(static_cast<const char*>(arraylist_get(list, i)));
    arraylist_free(list, 1);
    return items;
}

std::vector<std::string> boxes;
std::vector<std::vector<std::string>> launched;

int recordBox(void*, const std::string& text, const std::string& caption, unsigned) {
    boxes.push_back(caption + "|" + text);
    return IDOK;
}

bool recordLaunch(const std::vector<std::string>& argv) {
    launched.push_back(argv);
    return true;
}

// Installs the recording box and launcher for one test.
struct RecordUser {
    MessageBoxHandler box = setMessageBoxHandler(recordBox);
    SpawnHandler spawn = setSpawnHandler(recordLaunch);
    RecordUser() { boxes.clear(), launched.clear(); }
    ~RecordUser() {
        setMessageBoxHandler(box);
        setSpawnHandler(spawn);
    }
};

} // namespace

TEST(FilePath, ImageExtensionsIgnoreCase) {
    for (const char* yes : {".JPG", ".Tiff", "photo.jpeg", ".tbi", ".PSD"}) EXPECT_EQ(isImageFileExt(yes), 1) << yes;
    for (const char* no : {".jpe", ".webp", "jpgx", ""}) EXPECT_EQ(isImageFileExt(no), 0) << no;
}

TEST(FilePath, ExistenceAndSizes) {
    TempFolder temp;
    std::string file = temp.write("a.bin", "12345");
    EXPECT_EQ(fileExists(file.c_str()), 1);
    EXPECT_EQ(fileExists(temp.path().c_str()), 0);  // a folder is not a file
    EXPECT_EQ(fileExists((temp / "missing").c_str()), 0);
    // Nor is anything that cannot be read as one; a FIFO without a writer
    // must not hold the check up.
    ASSERT_EQ(::mkfifo((temp / "fifo").c_str(), 0600), 0);
    for (const std::string& other : {temp / "fifo", std::string("/dev/null")}) {
        EXPECT_EQ(fileExists(other.c_str()), 0) << other;
        EXPECT_EQ(getFileSize(other.c_str()), -1) << other;
    }
    EXPECT_EQ(isDirectory(temp.path().c_str()), 1);
    EXPECT_EQ(isDirectory(file.c_str()), 0);
    EXPECT_EQ(getFileSize(file.c_str()), 5);
    EXPECT_EQ(getFileSize(temp.path().c_str()), -1);
    EXPECT_EQ(getFileSize((temp / "missing").c_str()), -1);

    // Sizes beyond 4 GB are reported whole (a sparse file takes no space).
    std::string big = temp / "big.bin";
    int fd = ::open(big.c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, 5'000'000'000LL), 0);
    ::close(fd);
    EXPECT_EQ(getFileSize(big.c_str()), 5'000'000'000LL);
}

TEST(FilePath, ListImageFilesTakesPictureFilesOnlySorted) {
    TempFolder temp;
    temp.write("b.jpeg");
    temp.write("a.PNG");
    temp.write("b.txt");
    temp.write("c");
    temp.folder("d.jpg");
    ArrayList* list = arraylist_new_default();
    EXPECT_EQ(listImageFiles(nullptr, temp.path().c_str(), list), 1);
    EXPECT_EQ(drain(list), (std::vector<std::string>{temp / "a.PNG", temp / "b.jpeg"}));

    ArrayList* none = arraylist_new_default();
    EXPECT_EQ(listImageFiles(nullptr, (temp / "missing").c_str(), none), -1);
    arraylist_free(none, 1);
}

TEST(FilePath, OverLongPictureIsSkippedAndReportedOnce) {
    RecordUser user;
    TempFolder temp;
    // Pad the folder so that a file name brings the path to the limit; the
    // Chinese characters count two each.
    int base = gbk_length(temp.path().c_str()) + 1;
    std::string folder = temp.folder(std::string(200 - base, 'f'));
    int room = kMaxPathLength - 200 - 1;  // for the file name
    std::string stem((room - 4 - 4), 'n');
    std::string fits = stem + "图片.jpg";    // exactly 259
    std::string longer = stem + "图片1.jpg"; // 260
    std::string longest = stem + "图片12.jpg";
    temp.write(folder.substr(temp.path().size() + 1) + "/" + fits);
    temp.write(folder.substr(temp.path().size() + 1) + "/" + longer);
    temp.write(folder.substr(temp.path().size() + 1) + "/" + longest);
    ASSERT_EQ(gbk_length((folder + "/" + fits).c_str()), 259);

    ArrayList* list = arraylist_new_default();
    EXPECT_EQ(listImageFiles(nullptr, folder.c_str(), list), 1);
    EXPECT_EQ(drain(list), (std::vector<std::string>{folder + "/" + fits}));
    ASSERT_EQ(boxes.size(), 1u);
    std::string expected = "提示|文件路径长度大于 259 个字符！\n\n当前文件路径长度：260 个字符\n" + folder + "/" +
                           longer + "\n\n解决方案：修改文件路径长度，使其长度不超过 259 个字符。\n\n"
                           "提示：一个英文字母占 1 个字符，一个汉字占 2 个字符。";
    EXPECT_EQ(boxes[0], expected);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0], (std::vector<std::string>{"xdg-open", folder}));
}

TEST(FilePath, SubFoldersRecurseWithoutFollowingLoops) {
    RecordUser user;
    TempFolder temp;
    temp.folder("a/b");
    temp.folder(".hidden/x");
    temp.write("file.jpg");
    std::filesystem::create_directory_symlink(temp / "a", temp / "a/b/loop");
    std::filesystem::create_directory_symlink(temp.path(), temp / "a/up");
    ArrayList* flat = arraylist_new_default();
    EXPECT_EQ(listSubFolders(nullptr, temp.path().c_str(), 0, flat), 1);
    EXPECT_EQ(drain(flat), (std::vector<std::string>{temp / "a"}));

    ArrayList* deep = arraylist_new_default();
    EXPECT_EQ(listSubFolders(nullptr, temp.path().c_str(), 1, deep), 1);
    EXPECT_EQ(drain(deep), (std::vector<std::string>{temp / "a", temp / "a/b"}));
    EXPECT_TRUE(boxes.empty());
}

TEST(FilePath, OverLongFolderUsesFolderMessage) {
    RecordUser user;
    TempFolder temp;
    std::string deep = temp.path();
    while (gbk_length(deep.c_str()) <= kMaxPathLength) deep += "/" + std::string(100, 'd');
    std::filesystem::create_directories(deep);
    ArrayList* list = arraylist_new_default();
    EXPECT_EQ(listSubFolders(nullptr, temp.path().c_str(), 1, list), 1);
    std::vector<std::string> folders = drain(list);
    for (const std::string& folder : folders) EXPECT_LE(gbk_length(folder.c_str()), kMaxPathLength);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("文件夹路径长度大于 259 个字符！"), std::string::npos);
}

TEST(FilePath, ListFilesMatchesPatternIgnoringCase) {
    TempFolder temp;
    temp.write("y.mp3");
    temp.write("x.MP3");
    temp.write("z.txt");
    temp.write("noext");
    temp.folder("f.mp3");
    ArrayList* music = arraylist_new_default();
    EXPECT_EQ(listFiles(nullptr, temp.path().c_str(), "*.mp3", music), 1);
    EXPECT_EQ(drain(music), (std::vector<std::string>{"x.MP3", "y.mp3"}));
    ArrayList* all = arraylist_new_default();
    listFiles(nullptr, temp.path().c_str(), "*.*", all);
    EXPECT_EQ(drain(all).size(), 4u);
}

TEST(FilePath, NameParts) {
    EXPECT_STREQ(getFileName("plain"), "plain");
    EXPECT_STREQ(getFileName("/a/b.jpg"), "b.jpg");
    EXPECT_EQ(getFileExt("/dir.x/name"), nullptr);
    EXPECT_EQ(getFileExt("name.jpg"), nullptr);
    EXPECT_STREQ(getFileExt("/a/b.tar.gz"), "gz");
    char buffer[64];
    EXPECT_STREQ(pathToFileUrl("/tmp/a b/中.jpg", buffer, sizeof buffer), "file:///tmp/a%20b/%E4%B8%AD.jpg");
    EXPECT_STREQ(pathToFileUrl("/x#?%", buffer, sizeof buffer), "file:///x%23%3F%25");
    char tiny[8];
    EXPECT_EQ(pathToFileUrl("/tmp/a", tiny, sizeof tiny), nullptr);
}

TEST(FilePath, SpecialFoldersFromXdgDirectories) {
    TempFolder home;
    ::setenv("HOME", home.path().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home / "cfg").c_str(), 1);
    char buffer[512];
    EXPECT_EQ(getSpecialFolderPath(CSIDL_DESKTOP, buffer, sizeof buffer), 1);
    EXPECT_EQ(std::string(buffer), home.path());  // no desktop configured or present

    home.folder("Desktop");
    getSpecialFolderPath(CSIDL_DESKTOPDIRECTORY, buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer), home / "Desktop");

    home.folder("cfg");
    home.write("cfg/user-dirs.dirs", "# comment\nXDG_DESKTOP_DIR=\"$HOME/桌面\"\nXDG_MUSIC_DIR=\"/srv/音乐/\"\n");
    getSpecialFolderPath(CSIDL_DESKTOP, buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer), home / "桌面");
    getSpecialFolderPath(CSIDL_MYMUSIC, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "/srv/音乐");
    getSpecialFolderPath(CSIDL_PROFILE, buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer), home.path());

    char tiny[4];
    EXPECT_EQ(getSpecialFolderPath(CSIDL_PROFILE, tiny, sizeof tiny), 0);
    EXPECT_STREQ(tiny, "");
    EXPECT_EQ(getSpecialFolderPath(0x7777, buffer, sizeof buffer), 0);
}
