#include "platform/regular_file.h"

#include "foundation/temp_folder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Every kind of thing a path can name, each opened as it would be from a
// picture list, a settings file or a record: only the plain file opens, and
// nothing blocks (a FIFO with no writer would hang a blocking open).
TEST(RegularFile, OnlyRegularFilesOpenAndNothingBlocks) {
    TempFolder folder;
    folder.write("plain", "12345");
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    folder.folder("folder");
    ASSERT_EQ(::symlink("plain", (folder / "link").c_str()), 0);
    ASSERT_EQ(::symlink("fifo", (folder / "link-to-fifo").c_str()), 0);
    ASSERT_EQ(::symlink("gone", (folder / "dangling").c_str()), 0);
    using E = RegularFileError;
    const struct {
        const char* name;
        E followed;
        E unfollowed;
    } table[] = {
        {"plain", E::None, E::None},
        {"fifo", E::NotRegular, E::NotRegular},
        {"folder", E::NotRegular, E::NotRegular},
        {"link", E::None, E::Missing},
        {"link-to-fifo", E::NotRegular, E::Missing},
        {"dangling", E::Missing, E::Missing},
        {"absent", E::Missing, E::Missing},
    };
    for (const auto& row : table) {
        for (FollowLinks follow : {FollowLinks::Yes, FollowLinks::No}) {
            SCOPED_TRACE(std::string(row.name) + (follow == FollowLinks::Yes ? " followed" : " not followed"));
            const E expected = follow == FollowLinks::Yes ? row.followed : row.unfollowed;
            E error = E::TooLarge;
            int fd = openRegularFile((folder / row.name).c_str(), follow, &error);
            EXPECT_EQ(error, expected);
            EXPECT_EQ(fd >= 0, expected == E::None);
            if (fd >= 0) {
                EXPECT_EQ(::fcntl(fd, F_GETFL) & O_NONBLOCK, 0);
                ::close(fd);
            }
        }
    }
    RegularFileError error = RegularFileError::None;
    EXPECT_FALSE(isRegularFile("/dev/null", FollowLinks::Yes, &error));
    EXPECT_EQ(error, RegularFileError::NotRegular);
    EXPECT_FALSE(isRegularFile("", FollowLinks::Yes, &error));
    EXPECT_EQ(error, RegularFileError::Missing);
}

TEST(RegularFile, ReadsUpToTheBoundAndRefusesOneByteMore) {
    TempFolder folder;
    folder.write("five", "12345");
    std::string content = "old";
    RegularFileError error = RegularFileError::None;
    EXPECT_TRUE(readRegularFile((folder / "five").c_str(), 5, content, FollowLinks::No, &error));
    EXPECT_EQ(content, "12345");
    EXPECT_FALSE(readRegularFile((folder / "five").c_str(), 4, content, FollowLinks::No, &error));
    EXPECT_EQ(error, RegularFileError::TooLarge);
    EXPECT_EQ(content, "");

    int folderFd = ::open(folder.path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(folderFd, 0);
    EXPECT_TRUE(readRegularFileAt(folderFd, "five", 5, content, FollowLinks::No, &error));
    EXPECT_EQ(content, "12345");
    ASSERT_EQ(::symlink("/dev/zero", (folder / "zero").c_str()), 0);
    EXPECT_FALSE(readRegularFileAt(folderFd, "zero", 1 << 20, content, FollowLinks::Yes, &error));
    EXPECT_EQ(error, RegularFileError::NotRegular);
    ::close(folderFd);
}

} // namespace
