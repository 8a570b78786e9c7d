// The crash handler: a fatal signal (SIGSEGV, SIGBUS, SIGILL, SIGFPE,
// SIGABRT) leaves a crash record and the process then ends as it would
// have without the handler. Inside the signal only async-signal-safe calls
// run; telling the user and reporting wait for the next start
// (net/crash_report.h), when the program is in a sound state again.
#pragma once

#include <csignal>
#include <string>

#include "platform/crash_records.h"

// SIGSEGV, SIGBUS, SIGILL, SIGFPE or SIGABRT.
bool isCrashSignal(int signal);

// The handler itself: writes "crash-<pid>.record" into the record folder
// (through a temporary file and a rename, so a record is whole or absent),
// then re-raises the signal with its default action.
void appCrashFilter(int signal, siginfo_t* info, void* context);

// Start-up step 1: installs appCrashFilter for the five signals on an
// alternate stack (so a stack overflow is recorded too), with records
// written into recordFolder (created here with mode 0700; one of this
// user's that others may reach is made private), then locks it in place
// with lockUnhandledExceptionFilter. Returns 1 when installed, 0 when the
// folder's path is too long, the folder is a link, another user's or
// cannot be made, or the alternate stack could not be set.
// The alternate stack belongs to the calling thread: call it on the main
// thread before any other thread starts.
int installCrashHandler(const std::string& recordFolder = crashRecordFolder());

// From now on no library can replace the handler of the five signals:
// sigaction() and signal() calls for them report success (and the current
// action, when asked) but change nothing. Other signals are untouched.
// Cannot be undone.
void lockUnhandledExceptionFilter();
