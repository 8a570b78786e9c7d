// Failure reports: where a failure happened and what it said, sent to the
// service host; appended to the local log file instead when no service
// host is set, or when it could not be reached, so no report is lost.
#pragma once

#include <string>

// where: a short ASCII name of the failing place ("thread_make_video",
// "AppCrash", ...); message: UTF-8 text. Runs on the caller's thread and
// blocks it for one request at most: requestDeadlineMs (30 seconds) when
// the thread has no socket watch of its own; the program's end cuts it
// short. A report not sent goes to the log.
void sendErrorReport(const char* where, const char* message);

// The local log: $XDG_DATA_HOME/Tevrako/error_report.log (by default
// ~/.local/share/Tevrako/error_report.log).
std::string errorReportLogPath();
