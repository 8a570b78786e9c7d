#include "production/program_folders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "foundation/file_path.h"
#include "foundation/globals.h"
#include "foundation/temp_folder.h"
#include "production/download_folder.h"

TEST(ProgramFolders, EncoderLinkLiesBesideTheExecutable) {
    locateProgramFolders();
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(ffmpegPath, programFolder + "/tool/ffmpeg");
    EXPECT_EQ(fileExists(ffmpegPath.c_str()), 1);
    EXPECT_EQ(access(ffmpegPath.c_str(), X_OK), 0);
    EXPECT_EQ(isDirectory(workFolder.c_str()), 1);
}

namespace {

// Sets an environment variable for the test's time.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name(name) {
        if (const char* old = std::getenv(name)) saved = old, hadValue = true;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (hadValue) setenv(name, saved.c_str(), 1);
        else unsetenv(name);
    }

private:
    const char* name;
    std::string saved;
    bool hadValue = false;
};

} // namespace

// The program on the desktop works in $TMPDIR/TevrakoVkrmTemp, which any
// local user could have made first; with every candidate refused there is
// no work folder at all, rather than one that a link or another user decides.
TEST(ProgramFolders, ASharedWorkFolderIsUsedOnlyWhenItIsTheUsersAlone) {
    namespace fs = std::filesystem;
    const struct {
        const char* name;
        bool rootOnly;
        bool refused;  // no candidate is usable
        void (*prepare)(const TempFolder& folder, const std::string& shared, const std::string& elsewhere);
    } cases[] = {
        {"open to others", false, false,
         [](const TempFolder&, const std::string& shared, const std::string&) {
             ASSERT_EQ(mkdir(shared.c_str(), 0777), 0);
             ASSERT_EQ(chmod(shared.c_str(), 0777), 0);
         }},
        {"a link to elsewhere", false, false,
         [](const TempFolder&, const std::string& shared, const std::string& elsewhere) {
             ASSERT_EQ(symlink(elsewhere.c_str(), shared.c_str()), 0);
         }},
        {"another user's", true, false,
         [](const TempFolder&, const std::string& shared, const std::string&) {
             ASSERT_EQ(mkdir(shared.c_str(), 0777), 0);
             ASSERT_EQ(chown(shared.c_str(), 65534, 65534), 0);
         }},
        {"every candidate a link", false, true,
         [](const TempFolder& folder, const std::string& shared, const std::string& elsewhere) {
             folder.folder("data/Tevrako");
             const std::string program = folder / "home/Desktop/tevrako";
             for (const std::string& link : {shared, program + "/temp", folder / "data/Tevrako/temp"})
                 ASSERT_EQ(symlink(elsewhere.c_str(), link.c_str()), 0) << link;
         }},
    };
    const std::string savedProgram = programFolder, savedWork = workFolder;
    for (const auto& c : cases) {
        if (c.rootOnly && geteuid() != 0) continue;  // only root can give a folder away
        SCOPED_TRACE(c.name);
        TempFolder folder;
        ScopedEnv home("HOME", folder.folder("home"));
        ScopedEnv config("XDG_CONFIG_HOME", folder.folder("config"));
        ScopedEnv data("XDG_DATA_HOME", folder.folder("data"));
        ScopedEnv tmp("TMPDIR", folder.folder("tmp"));
        const std::string program = folder.folder("home/Desktop/tevrako");
        const std::string elsewhere = folder.folder("elsewhere");
        c.prepare(folder, folder / "tmp/TevrakoVkrmTemp", elsewhere);

        locateProgramFolder(program);
        makeWorkFolder();
        const std::string downloads = ensureDownloadFolder();
        EXPECT_TRUE(fs::is_empty(elsewhere)) << "nothing lands where a link points";
        if (c.refused) {
            EXPECT_EQ(workFolder, "");
            EXPECT_EQ(downloads, "");
            continue;
        }
        struct stat info {};
        ASSERT_EQ(lstat(workFolder.c_str(), &info), 0) << workFolder;
        EXPECT_TRUE(S_ISDIR(info.st_mode)) << workFolder;
        EXPECT_EQ(info.st_uid, geteuid());
        EXPECT_EQ(info.st_mode & 077, 0u) << "nobody else may reach " << workFolder;
        EXPECT_EQ(downloads.rfind(workFolder + "/", 0), 0u) << downloads;
        removeDownloadFolder();
    }
    programFolder = savedProgram;
    workFolder = savedWork;
    ffmpegPath = programFolder + "/tool/ffmpeg";
}
