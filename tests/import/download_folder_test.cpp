#include "production/download_folder.h"

#include "foundation/globals.h"
#include "foundation/temp_folder.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct WorkFolderFixture : ::testing::Test {
    TempFolder folder;
    std::string savedWorkFolder = workFolder;
    void SetUp() override { workFolder = folder.path(); }
    void TearDown() override {
        removeDownloadFolder();
        workFolder = savedWorkFolder;
    }
};

// The id of a process that has ended.
pid_t endedProcess() {
    pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

} // namespace

TEST_F(WorkFolderFixture, EachProcessDownloadsIntoItsOwnPrivateFolder) {
    std::string downloads = ensureDownloadFolder();
    ASSERT_FALSE(downloads.empty());
    EXPECT_EQ(fs::path(downloads).parent_path(), fs::path(folder.path()));
    std::string prefix = "downloads-" + std::to_string(getpid()) + "-";
    EXPECT_EQ(fs::path(downloads).filename().string().rfind(prefix, 0), 0u) << downloads;
    struct stat info {};
    ASSERT_EQ(stat(downloads.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(ensureDownloadFolder(), downloads);

    std::string other = folder.folder("downloads-1-other");  // another running copy's
    std::ofstream(downloads + "/a.jpg") << "x";
    removeDownloadFolder();
    EXPECT_FALSE(fs::exists(downloads));
    EXPECT_TRUE(fs::exists(other));

    // A folder removed behind its back is made anew.
    std::string again = ensureDownloadFolder();
    ASSERT_FALSE(again.empty());
    fs::remove_all(again);
    std::string third = ensureDownloadFolder();
    EXPECT_TRUE(fs::is_directory(third));
}

TEST_F(WorkFolderFixture, NoWorkFolderNoDownloadFolder) {
    workFolder.clear();
    EXPECT_EQ(ensureDownloadFolder(), "");
    workFolder = folder / "missing";
    EXPECT_EQ(ensureDownloadFolder(), "");
}

TEST_F(WorkFolderFixture, StartUpRemovesOnlyFoldersOfEndedProcesses) {
    std::string ended = folder.folder("downloads-" + std::to_string(endedProcess()) + "-abc123");
    folder.write(fs::path(ended).filename().string() + "/a.jpg");
    std::string mine = ensureDownloadFolder();
    std::string running = folder.folder("downloads-1-abc123");
    std::string unrelated = folder.folder("logo-copies");
    std::string notAFolder = folder.write("downloads-" + std::to_string(endedProcess()) + "-file");
    std::string malformed = folder.folder("downloads-x-abc");

    // Links, in a stale folder or posing as one, lead outside: their targets stay.
    TempFolder outside;
    std::string outsideFile = outside.write("keep.jpg");
    std::string outsideFolder = outside.folder("pictures");
    outside.write("pictures/keep.jpg");
    fs::create_symlink(outsideFile, ended + "/file-link.jpg");
    fs::create_directory_symlink(outsideFolder, ended + "/folder-link");
    std::string posing = folder / ("downloads-" + std::to_string(endedProcess()) + "-link");
    fs::create_directory_symlink(outsideFolder, posing);
    // Only root can give a folder to another user; such a folder stays.
    std::string othersFolder = folder.folder("downloads-" + std::to_string(endedProcess()) + "-other");
    bool givenAway = geteuid() == 0 && chown(othersFolder.c_str(), 65534, 65534) == 0;

    removeStaleDownloadFolders();
    EXPECT_FALSE(fs::exists(ended));
    for (const std::string& kept : {mine, running, unrelated, notAFolder, malformed, outsideFile,
                                    outsideFolder + "/keep.jpg"}) {
        EXPECT_TRUE(fs::exists(kept)) << kept;
    }
    EXPECT_TRUE(fs::is_symlink(posing));
    EXPECT_EQ(fs::exists(othersFolder), givenAway);
}

TEST(DownloadFileName, TimeThenThreeDigitNumber) {
    // "HH-MM-SS-NNN.jpg": digits everywhere but the dashes and the extension.
    for (int i = 0; i < 200; ++i) {
        char name[kDownloadFileNameSize];
        makeDownloadFileName(name);
        std::string text = name;
        ASSERT_EQ(text.size(), 16u) << text;
        for (size_t at : {0, 1, 3, 4, 6, 7, 9, 10, 11}) ASSERT_TRUE(std::isdigit(text[at])) << text;
        EXPECT_EQ(text.substr(2, 1) + text.substr(5, 1) + text.substr(8, 1), "---") << text;
        EXPECT_NE(text[9], '0') << text;
        EXPECT_EQ(text.substr(12), ".jpg") << text;
    }
}
