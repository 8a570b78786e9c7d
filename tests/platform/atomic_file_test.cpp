#include "platform/atomic_file.h"

#include "foundation/temp_folder.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// The temporaries the program makes are the ones its sweep takes once they
// are old, names too long for a folder included, and only those.
TEST(AtomicFile, TemporariesAreHiddenAndTakenByTheSweepOnceOld) {
    TempFolder folder;
    std::string longName;
    for (int i = 0; i < 80; ++i) longName += "长";  // 240 bytes
    const struct {
        std::string target;
        const char* extension;
        const char* pattern;
    } cases[] = {
        {"preferences", "", "preferences"},
        {"店铺.sz", "", "*.sz"},
        {"主图.mp4", ".mp4", "*"},
        {longName + ".mp4", ".mp4", "*"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        const std::string target = folder.write(c.target, "the user's");
        const std::string temporary = createTemporaryBeside(target, c.extension, 0600);
        ASSERT_FALSE(temporary.empty()) << std::strerror(errno);
        const std::filesystem::path name = std::filesystem::path(temporary).filename();
        EXPECT_EQ(std::filesystem::path(temporary).parent_path(), folder.path());
        EXPECT_EQ(name.string()[0], '.');
        EXPECT_LE(name.string().size(), std::size_t(NAME_MAX));
        EXPECT_TRUE(name.string().ends_with(c.extension));

        const timespec hourAgo[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, target.c_str(), hourAgo, 0), 0);
        ASSERT_EQ(utimensat(AT_FDCWD, temporary.c_str(), hourAgo, 0), 0);
        removeStaleAtomicTemporaries(folder.path(), {c.pattern}, c.extension);
        EXPECT_FALSE(std::filesystem::exists(temporary));
        EXPECT_EQ(readTextFile(target), "the user's");
    }
}

} // namespace
