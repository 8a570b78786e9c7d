#include "platform/crash_handler.h"

#include "platform/private_folder.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <ucontext.h>
#include <unistd.h>

namespace {

// Everything the handler needs is prepared here before any crash: it may
// not allocate, lock or format with the C library.
char recordFolder[PATH_MAX];
std::size_t recordFolderLength = 0;
std::atomic<int> crashing{0};
static_assert(std::atomic<int>::is_always_lock_free, "the handler's flag must be lock-free");

// Large enough for the handler under the sanitizers too.
alignas(16) char alternateStack[256 * 1024];

// A bounded text being built without the C library.
struct Text {
    char bytes[PATH_MAX + 64];
    std::size_t length = 0;
    void add(const char* text, std::size_t n) {
        if (n > sizeof bytes - 1 - length) n = sizeof bytes - 1 - length;
        std::memcpy(bytes + length, text, n);
        length += n;
        bytes[length] = '\0';
    }
    void add(const char* text) { add(text, std::strlen(text)); }
    void addDecimal(std::uintmax_t value) {
        char digits[24];
        std::size_t n = 0;
        do digits[n++] = static_cast<char>('0' + value % 10); while ((value /= 10) != 0);
        while (n > 0) add(&digits[--n], 1);
    }
    void addHex(std::uintptr_t value) {
        static const char hex[] = "0123456789ABCDEF";
        for (int shift = static_cast<int>(sizeof value * 8) - 4; shift >= 0; shift -= 4)
            add(&hex[(value >> shift) & 15], 1);
    }
};

std::uintptr_t interruptedInstruction(void* context) {
#if defined(__x86_64__)
    if (context) return static_cast<std::uintptr_t>(static_cast<ucontext_t*>(context)->uc_mcontext.gregs[REG_RIP]);
#elif defined(__aarch64__)
    if (context) return static_cast<std::uintptr_t>(static_cast<ucontext_t*>(context)->uc_mcontext.pc);
#else
    (void)context;
#endif
    return 0;
}

void writeAll(int fd, const Text& text) {
    std::size_t done = 0;
    while (done < text.length) {
        ssize_t n = write(fd, text.bytes + done, text.length - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

void writeRecord(int signal, void* context) {
    Text base;
    base.add(recordFolder, recordFolderLength);
    base.add("/crash-");
    base.addDecimal(static_cast<std::uintmax_t>(getpid()));
    Text temporary = base, final = base;
    temporary.add(".tmp");
    final.add(".record");

    Text record;
    record.add("signal=");
    record.addDecimal(static_cast<std::uintmax_t>(signal));
    record.add("\nip=0x");
    record.addHex(interruptedInstruction(context));
    record.add("\n");

    int fd = open(temporary.bytes, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return;
    writeAll(fd, record);
    close(fd);
    rename(temporary.bytes, final.bytes);
}

} // namespace

bool isCrashSignal(int signal) {
    return signal == SIGSEGV || signal == SIGBUS || signal == SIGILL || signal == SIGFPE || signal == SIGABRT;
}

void appCrashFilter(int signal, siginfo_t*, void* context) {
    int saved = errno;
    // One record per process: a second thread that faults meanwhile waits
    // for the first to end the process.
    if (crashing.exchange(1) != 0) {
        for (;;) pause();
    }
    if (recordFolderLength > 0) writeRecord(signal, context);
    errno = saved;
    // The action was reset on entry (SA_RESETHAND); the signal, blocked
    // while the handler runs, is delivered again on return and ends the
    // process with its usual status.
    raise(signal);
}

int installCrashHandler(const std::string& folder) {
    if (folder.empty() || folder.size() >= sizeof recordFolder) return 0;
    // A record tells where the program failed: its folder is this user's
    // alone, like the work folder.
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(folder).parent_path(), ignored);
    int folderFd = openPrivateFolder(folder, true);
    if (folderFd < 0) return 0;
    close(folderFd);
    std::memcpy(recordFolder, folder.c_str(), folder.size() + 1);
    recordFolderLength = folder.size();

    stack_t stack{};
    stack.ss_sp = alternateStack;
    stack.ss_size = sizeof alternateStack;
    if (sigaltstack(&stack, nullptr) != 0) return 0;

    struct sigaction action{};
    action.sa_sigaction = appCrashFilter;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT}) sigaction(signal, &action, nullptr);
    lockUnhandledExceptionFilter();
    return 1;
}
