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

TEST(CrashRecords, OnlyReadableRecordsAreTakenAndEveryRecordIsRemoved) {
    TempFolder folder;
    folder.write("crash-200.record", "signal=6\nip=0x00000000004011A0\n");
    folder.write("crash-100.record", "signal=11\n");
    folder.write("crash-300.record", "not a record");
    folder.write("crash-400.record", "signal=11x\nip=0x10\n");
    folder.write("crash-500.tmp", "signal=7\n");  // the handler was cut short
    folder.write("notes.txt", "signal=7\n");
    std::vector<CrashRecord> records = takeCrashRecords(folder.path());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].signal, 11);
    EXPECT_EQ(records[0].instruction, 0u);
    EXPECT_EQ(records[1].signal, 6);
    EXPECT_EQ(records[1].instruction, 0x4011A0u);
    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"crash-500.tmp", "notes.txt"}));

    EXPECT_TRUE(takeCrashRecords(folder / "missing").empty());
}

// Records tell where the program failed: their folder is the user's alone.
TEST(CrashHandler, RecordFolderIsMadePrivateAndALinkIsRefused) {
    TempFolder folder;
    const std::string elsewhere = folder.folder("elsewhere");
    ASSERT_EQ(chmod(elsewhere.c_str(), 0755), 0);
    const std::string link = folder / "link";
    ASSERT_EQ(symlink(elsewhere.c_str(), link.c_str()), 0);
    const std::string open = folder.folder("open");
    ASSERT_EQ(chmod(open.c_str(), 0755), 0);
    const struct {
        std::string path;
        int installed;
    } cases[] = {{folder / "data/Tevrako/crashes", 1}, {open, 1}, {link, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        // Installed in a child: the handler locks itself in for good.
        pid_t pid = fork();
        if (pid == 0) _exit(installCrashHandler(c.path));
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), c.installed);
        struct stat info {};
        ASSERT_EQ(stat(c.path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, c.installed ? 0700u : 0755u);
    }
}

TEST(CrashHandler, FolderTooLongIsRefused) {
    EXPECT_EQ(installCrashHandler(""), 0);
    EXPECT_EQ(installCrashHandler("/tmp/" + std::string(5000, 'x')), 0);
}
