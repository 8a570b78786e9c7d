// Keeps the crash handler in place. Libraries change signal actions through
// sigaction() and signal(); the program defines both, so every caller in the
// process reaches these (the build exports them from the executable, see
// platform/CMakeLists.txt), and they hand each call on to the C library's
// own, except a change to a crash signal once the handler is locked.
#include "platform/crash_handler.h"

#include <atomic>
#include <cerrno>
#include <dlfcn.h>

namespace {

std::atomic<bool> locked{false};

using SigactionFunction = int (*)(int, const struct sigaction*, struct sigaction*);
using SignalFunction = sighandler_t (*)(int, sighandler_t);

// The next definition after the program's: the C library's, or a
// sanitizer's that leads to it. Resolved on first use; sigaction may be
// called before main.
template <typename Function>
Function next(std::atomic<Function>& cache, const char* name) {
    Function function = cache.load();
    if (!function) {
        function = reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
        cache.store(function);
    }
    return function;
}

std::atomic<SigactionFunction> nextSigactionCache{nullptr};
std::atomic<SignalFunction> nextSignalCache{nullptr};

SigactionFunction nextSigaction() { return next(nextSigactionCache, "sigaction"); }
SignalFunction nextSignal() { return next(nextSignalCache, "signal"); }

bool guarded(int signal) { return locked.load() && isCrashSignal(signal); }

} // namespace

void lockUnhandledExceptionFilter() {
    nextSigaction();  // resolved now, while the program is sound
    nextSignal();
    locked.store(true);
}

extern "C" int sigaction(int signal, const struct sigaction* action, struct sigaction* previous) noexcept {
    SigactionFunction real = nextSigaction();
    if (!real) {
        errno = ENOSYS;
        return -1;
    }
    // A locked action is only read: the caller is told it succeeded.
    return real(signal, guarded(signal) ? nullptr : action, previous);
}

extern "C" sighandler_t signal(int signal, sighandler_t handler) noexcept {
    if (guarded(signal)) {
        struct sigaction current{};
        SigactionFunction real = nextSigaction();
        if (!real || real(signal, nullptr, &current) != 0) return SIG_ERR;
        return current.sa_handler;
    }
    SignalFunction real = nextSignal();
    if (!real) {
        errno = ENOSYS;
        return SIG_ERR;
    }
    return real(signal, handler);
}
