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
        {"the others links and the data folder too", false, true,
         [](const TempFolder& folder, const std::string& shared, const std::string& elsewhere) {
             const std::string program = folder / "home/Desktop/tevrako";
             for (const std::string& link : {shared, program + "/temp", folder / "data/Tevrako"})
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

// Songs and settings files stay where nobody else can swap them: mp3/ and
// sz/ beside a writable program folder only when they are the user's own
// (closed to others when they were open), else the data folder's, which
// the same rule guards; with neither there is none.
TEST(ProgramFolders, SongsAndSettingsAreKeptOnlyInFoldersOfTheUsersAlone) {
    enum class Odd { Theirs, Open, Link };
    const struct {
        const char* name;
        const char* where;  // what is odd, below the test's folder
        Odd odd;
        bool programWritable;
        const char* mp3;  // the folders chosen, below the test's folder; "" none
        const char* sz;
    } cases[] = {
        {"mp3 another user's", "program/mp3", Odd::Theirs, true, "data/Tevrako/mp3", "program/sz"},
        {"sz another user's", "program/sz", Odd::Theirs, true, "program/mp3", "data/Tevrako/sz"},
        {"mp3 open to others", "program/mp3", Odd::Open, true, "program/mp3", "program/sz"},
        {"mp3 a link", "program/mp3", Odd::Link, true, "data/Tevrako/mp3", "program/sz"},
        {"sz a link", "program/sz", Odd::Link, true, "program/mp3", "data/Tevrako/sz"},
        {"the data folder another user's", "data/Tevrako", Odd::Theirs, false, "", ""},
        {"the data folder open to others", "data/Tevrako", Odd::Open, false, "data/Tevrako/mp3", "data/Tevrako/sz"},
        {"the data folder a link", "data/Tevrako", Odd::Link, false, "", ""},
        {"the data folder's mp3 a link", "data/Tevrako/mp3", Odd::Link, false, "", "data/Tevrako/sz"},
    };
    const std::string savedProgram = programFolder;
    for (const auto& c : cases) {
        if (c.odd == Odd::Theirs && geteuid() != 0) continue;  // only root can give a folder away
        SCOPED_TRACE(c.name);
        TempFolder folder;
        ScopedEnv data("XDG_DATA_HOME", folder.folder("data"));
        const std::string elsewhere = folder.folder("elsewhere");
        folder.folder("program");
        // Root may write anywhere: a program folder that is not there stands for one it may not.
        programFolder = folder / (c.programWritable ? "program" : "not-there");
        const std::string odd = folder / c.where;
        std::filesystem::create_directories(std::filesystem::path(odd).parent_path());
        if (c.odd == Odd::Link) {
            ASSERT_EQ(symlink(elsewhere.c_str(), odd.c_str()), 0);
        } else {
            ASSERT_EQ(mkdir(odd.c_str(), 0777), 0);
            ASSERT_EQ(chmod(odd.c_str(), 0777), 0);
        }
        if (c.odd == Odd::Theirs) {
            ASSERT_EQ(chown(odd.c_str(), 65534, 65534), 0);
        }
        const std::pair<const char*, const char*> chosen[] = {{"mp3", c.mp3}, {"sz", c.sz}};
        for (const auto& [name, expected] : chosen) {
            const std::string folderUsed = programDataFolder(name);
            EXPECT_EQ(folderUsed, *expected ? folder / expected : "") << name;
            if (folderUsed.empty()) continue;
            struct stat info {};
            EXPECT_EQ(lstat(folderUsed.c_str(), &info), 0) << folderUsed;
            EXPECT_TRUE(S_ISDIR(info.st_mode)) << folderUsed;
            EXPECT_EQ(info.st_uid, geteuid()) << folderUsed;
            EXPECT_EQ(info.st_mode & 077, 0u) << "nobody else may reach " << folderUsed;
        }
        EXPECT_TRUE(std::filesystem::is_empty(elsewhere)) << "nothing is made where a link points";
        if (c.odd == Odd::Theirs) {
            EXPECT_TRUE(std::filesystem::is_empty(odd)) << "nothing is made in theirs";
        }
    }
    programFolder = savedProgram;
}
