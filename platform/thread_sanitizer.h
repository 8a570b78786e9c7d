// Tells ThreadSanitizer about orderings it cannot see: those made inside
// libraries that are not instrumented (Qt's event queue hands calls from
// one thread to another under its own futex-based lock). Nothing in other
// builds.
#pragma once

#if defined(__SANITIZE_THREAD__)
#define TEVRAKO_TSAN_ANNOTATIONS 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define TEVRAKO_TSAN_ANNOTATIONS 1
#endif
#endif

#ifdef TEVRAKO_TSAN_ANNOTATIONS
#include <sanitizer/tsan_interface.h>
extern "C" void __tsan_ignore_thread_begin();
extern "C" void __tsan_ignore_thread_end();
#endif

// What this thread did before tsanRelease(address) happens before what
// another thread does after tsanAcquire(address).
inline void tsanRelease(const void* address) {
#ifdef TEVRAKO_TSAN_ANNOTATIONS
    __tsan_release(const_cast<void*>(address));
#else
    (void)address;
#endif
}

inline void tsanAcquire(const void* address) {
#ifdef TEVRAKO_TSAN_ANNOTATIONS
    __tsan_acquire(const_cast<void*>(address));
#else
    (void)address;
#endif
}

// The memory this thread reads and writes while the scope lasts is left
// out of the sanitizer's view (its locks are still seen): for objects that
// a library hands to another thread in its own way.
class TsanIgnoredScope {
public:
    TsanIgnoredScope() {
#ifdef TEVRAKO_TSAN_ANNOTATIONS
        __tsan_ignore_thread_begin();
#endif
    }
    ~TsanIgnoredScope() {
#ifdef TEVRAKO_TSAN_ANNOTATIONS
        __tsan_ignore_thread_end();
#endif
    }
    TsanIgnoredScope(const TsanIgnoredScope&) = delete;
    TsanIgnoredScope& operator=(const TsanIgnoredScope&) = delete;
};
