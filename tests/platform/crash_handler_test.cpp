#include "platform/crash_handler.h"
#include "platform/crash_records.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <sys/stat.h>

#include "crash_child.h"
#include "foundation/temp_folder.h"

using namespace crash_test;

namespace {

void readPastTheEndOfAFile() {
    std::FILE* empty = std::tmpfile();
    void* page = mmap(nullptr, 4096, PROT_READ, MAP_SHARED, fileno(empty), 0);
    (void)*static_cast<volatile char*>(page);
}

int recurse(int depth) {
    volatile char frame[4096];
    frame[0] = static_cast<char>(depth);
    if (depth < 0) return 0;  // never: keeps the compiler from folding the recursion
    return recurse(depth + 1) + frame[0];
}

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename());
    return names;
}

} // namespace

TEST(CrashHandler, EachFatalSignalLeavesOneRecordAndStillEndsTheProcess) {
    struct Case {
        const char* how;
        void (*crash)();
        int signal;
    } cases[] = {
        {"write to a protected page", writeToProtectedPage, SIGSEGV},
        {"stack overflow", [] { recurse(0); }, SIGSEGV},
        {"read past the end of a mapped file", readPastTheEndOfAFile, SIGBUS},
        {"illegal instruction", [] { __builtin_trap(); }, SIGILL},
        {"arithmetic signal", [] { raise(SIGFPE); }, SIGFPE},
        {"abort", [] { std::abort(); }, SIGABRT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        TempFolder folder;
        int status = crashInChild(folder.path(), c.crash);
        ASSERT_TRUE(WIFSIGNALED(status)) << "exit code " << WEXITSTATUS(status);
        EXPECT_EQ(WTERMSIG(status), c.signal);
        std::vector<CrashRecord> records = takeCrashRecords(folder.path());
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].signal, c.signal);
        EXPECT_NE(records[0].instruction, 0u);
        EXPECT_TRUE(takeCrashRecords(folder.path()).empty()) << "a record is taken once";
        EXPECT_TRUE(namesIn(folder.path()).empty());
    }
}

TEST(CrashHandler, LibrariesCannotReplaceItOnceLocked) {
    TempFolder folder;
    int status = crashInChild(folder.path(), [] {
        // A library reaches the functions by name, as a dlopen()ed one would.
        auto* librarySigaction = reinterpret_cast<int (*)(int, const struct sigaction*, struct sigaction*)>(
            dlsym(RTLD_DEFAULT, "sigaction"));
        auto* librarySignal = reinterpret_cast<sighandler_t (*)(int, sighandler_t)>(dlsym(RTLD_DEFAULT, "signal"));
        struct sigaction ignore{};
        ignore.sa_handler = SIG_IGN;
        struct sigaction previous{};
        if (librarySigaction(SIGSEGV, &ignore, &previous) != 0) _exit(10);
        if (previous.sa_sigaction != appCrashFilter) _exit(11);  // the caller sees the handler in place
        if (librarySignal(SIGSEGV, SIG_DFL) == SIG_ERR) _exit(12);
        // Other signals stay the caller's to change.
        if (librarySigaction(SIGUSR1, &ignore, nullptr) != 0) _exit(13);
        struct sigaction usr1{};
        librarySigaction(SIGUSR1, nullptr, &usr1);
        if (usr1.sa_handler != SIG_IGN) _exit(14);
        if (librarySignal(SIGUSR2, SIG_IGN) == SIG_ERR) _exit(15);
        librarySigaction(SIGUSR2, nullptr, &usr1);
        if (usr1.sa_handler != SIG_IGN) _exit(16);
        writeToProtectedPage();
    });
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit code " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), SIGSEGV);
    EXPECT_EQ(takeCrashRecords(folder.path()).size(), 1u);
}

// Only what the handler could have written is read: this user's regular
// file of a record's length at most. Nothing blocks (a FIFO), nothing is
// read without end (/dev/zero), and every record name is cleared away.
TEST(CrashRecords, OnlyReadableRecordsAreTakenAndEveryRecordIsRemoved) {
    TempFolder folder;
    const std::string crashes = folder.folder("crashes");
    const std::string longest = "signal=64\nip=0xFFFFFFFFFFFFFFFF\n";
    ASSERT_EQ(longest.size(), kCrashRecordMaxBytes);
    const std::string tooLong = "signal=8\nip=0x10\n" + std::string(kCrashRecordMaxBytes + 1 - 17, '\n');
    folder.write("crashes/crash-200.record", "signal=6\nip=0x00000000004011A0\n");
    folder.write("crashes/crash-100.record", "signal=11\n");
    folder.write("crashes/crash-300.record", "not a record");
    folder.write("crashes/crash-400.record", "signal=11x\nip=0x10\n");
    folder.write("crashes/crash-500.tmp", "signal=7\n");  // the handler was cut short
    folder.write("crashes/notes.txt", "signal=7\n");
    folder.write("crashes/crash-600.record", longest);
    folder.write("crashes/crash-610.record", tooLong);
    ASSERT_EQ(mkfifo((crashes + "/crash-620.record").c_str(), 0600), 0);
    ASSERT_EQ(symlink("/dev/zero", (crashes + "/crash-630.record").c_str()), 0);
    const std::string outside = folder.write("outside", "signal=4\n");
    ASSERT_EQ(symlink(outside.c_str(), (crashes + "/crash-640.record").c_str()), 0);
    const std::string theirs = folder.write("crashes/crash-650.record", "signal=5\n");
    if (geteuid() == 0) {
        ASSERT_EQ(chown(theirs.c_str(), 65534, 65534), 0);  // only root can give a file away
    }

    std::vector<CrashRecord> records;
    ASSERT_TRUE(endsInTime(folder, [&] { records = takeCrashRecords(crashes); }));
    std::vector<int> signals;
    for (const CrashRecord& record : records) signals.push_back(record.signal);
    const std::vector<int> taken = geteuid() == 0 ? std::vector<int>{11, 6, 64} : std::vector<int>{11, 6, 64, 5};
    EXPECT_EQ(signals, taken);
    ASSERT_GE(records.size(), 3u);
    EXPECT_EQ(records[0].instruction, 0u);
    EXPECT_EQ(records[1].instruction, 0x4011A0u);
    EXPECT_EQ(records[2].instruction, UINTPTR_MAX);
    EXPECT_EQ(namesIn(crashes), (std::set<std::string>{"crash-500.tmp", "notes.txt"}));
    EXPECT_EQ(readTextFile(outside), "signal=4\n");

    EXPECT_TRUE(takeCrashRecords(folder / "missing").empty());
}

// Records tell where the program failed: their folder is the user's alone,
// and the next start reads records only from a folder the handler would
// have written to.
TEST(CrashHandler, RecordFolderIsMadePrivateAndALinkIsRefused) {
    const struct {
        const char* name;
        const char* real;    // where the records lie (made with mode 0755)
        const char* link;    // a link made there to "elsewhere", or none
        const char* handed;  // the folder handed over; none: crashRecordFolder()
        bool theirs;
        bool used;
    } cases[] = {
        {"the data folder's", "data/Tevrako/crashes", nullptr, nullptr, false, true},
        {"the user's, open to others", "open", nullptr, "open", false, true},
        {"a link", "elsewhere", "link", "link", false, false},
        {"another user's", "theirs", nullptr, "theirs", true, false},
        {"under a data folder that is a link", "elsewhere/crashes", "data/Tevrako", nullptr, false, false},
    };
    for (const auto& c : cases) {
        if (c.theirs && geteuid() != 0) continue;  // only root can give a folder away
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const std::string real = folder.folder(c.real);
        ASSERT_EQ(chmod(real.c_str(), 0755), 0);
        if (c.link) {
            std::filesystem::create_directories(std::filesystem::path(folder / c.link).parent_path());
            ASSERT_EQ(symlink((folder / "elsewhere").c_str(), (folder / c.link).c_str()), 0);
        }
        if (c.theirs) {
            ASSERT_EQ(chown(real.c_str(), 65534, 65534), 0);
        }
        setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
        const std::string records = c.handed ? folder / c.handed : crashRecordFolder();
        unsetenv("XDG_DATA_HOME");
        // Installed in a child: the handler locks itself in for good.
        pid_t pid = fork();
        if (pid == 0) _exit(installCrashHandler(records));
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), c.used ? 1 : 0);
        struct stat info {};
        ASSERT_EQ(stat(real.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, c.used ? 0700u : 0755u);

        const std::string planted = real + "/crash-1.record";
        std::ofstream(planted) << "signal=11\nip=0x10\n";
        EXPECT_EQ(takeCrashRecords(records).size(), c.used ? 1u : 0u);
        EXPECT_EQ(std::filesystem::exists(planted), !c.used) << "a refused folder is left as it is";
    }
}

TEST(CrashHandler, FolderTooLongIsRefused) {
    EXPECT_EQ(installCrashHandler(""), 0);
    EXPECT_EQ(installCrashHandler("/tmp/" + std::string(5000, 'x')), 0);
}
