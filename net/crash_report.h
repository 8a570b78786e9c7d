// What happens after a crash, at the next start: the crash handler
// (platform/crash_handler.h) only leaves a record; here the records are
// reported and the user is told, once.
#pragma once

#include <string>

#include "platform/crash_records.h"

// "exceptionCode:0x<signal in hex>, EIP=0x<16 hex digits>": the text sent
// with the report.
std::string crashText(const CrashRecord& record);

// Takes every crash record left in recordFolder by earlier runs and sends
// each as an "AppCrash" report (to the service host, or the local log when
// none is set); then, when there was any, shows the crash message once,
// owned by hwndMain, and opens the support site's crash page for the
// latest record when a support site is set. Returns the number of crashes
// reported; a second call finds none.
int reportPendingCrash(const std::string& recordFolder = crashRecordFolder());
